#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <vector>

#include "platform/gui/Forms.h"

namespace {

class FormsTest : public testing::Test {
protected:
  FormsTest() {
    Form.SetBounds(0, 0, 200, 80);
    Form.SetBorderStyle(bsDialog);
    Ok = AddButton("OK", mrOk);
    Ok->SetDefault(true);
    Cancel = AddButton("Cancel", mrCancel);
    Cancel->SetCancel(true);
    Retry = AddButton("Retry", mrRetry);
  }
  TButton* AddButton(const char* name, TModalResult result) {
    auto* button = CreateOwned<TButton>(Form);
    button->SetName(name);
    button->SetModalResult(result);
    button->SetParent(&Form);
    return button;
  }
  // Runs `action` once the modal loop is running, and returns ShowModal's result.
  TModalResult ShowModalAnd(const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    return Form.ShowModal();
  }

  TForm Form{nullptr};
  TButton* Ok;
  TButton* Cancel;
  TButton* Retry;
};

TEST_F(FormsTest, AButtonsModalResultEndsTheModalLoop) {
  EXPECT_EQ(ShowModalAnd([this] { Retry->Click(); }), mrRetry);
  EXPECT_FALSE(Form.Visible());
}

TEST_F(FormsTest, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
  EXPECT_EQ(ShowModalAnd([this] { Form.HandleKey(VK_RETURN, 0); }), mrOk);
  EXPECT_EQ(ShowModalAnd([this] { Form.HandleKey(VK_ESCAPE, 0); }), mrCancel);
  Cancel->SetCancel(false);
  // Without a cancel button Esc still closes a modal form with mrCancel.
  EXPECT_EQ(ShowModalAnd([this] { Form.HandleKey(VK_ESCAPE, 0); }), mrCancel);
  EXPECT_EQ(ShowModalAnd([this] { Form.Close(); }), mrCancel);
}

TEST_F(FormsTest, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
  Form.SetKeyPreview(true);
  std::vector<uint16_t> seen;
  Form.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
    seen.push_back(key);
    if (key == VK_RETURN && (shift & ssCtrl)) key = 0;
  };
  EXPECT_TRUE(Form.HandleKey(VK_RETURN, ssCtrl));
  EXPECT_EQ(Form.ModalResult(), mrNone);
  EXPECT_FALSE(Form.HandleKey('X', 0));
  EXPECT_EQ(seen, (std::vector<uint16_t>{VK_RETURN, 'X'}));
}

TEST_F(FormsTest, CentredFormsStandInTheMiddleOfTheScreen) {
  Form.SetPosition(poScreenCenter);
  Form.HandleNeeded();
  EXPECT_EQ(Form.Left(), (ScreenWidth() - 200) / 2);
  EXPECT_EQ(Form.Top(), (ScreenHeight() - 80) / 2);
}

}  // namespace

namespace {

TEST(ModelessForm, TheCloseBoxHidesTheForm) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 120, 60);
  form.Show();
  ASSERT_TRUE(form.Visible());
  form.Widget()->close();  // what the close box does
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Widget()->isVisible());
}

// OnCloseQuery may refuse the close box; the form stays open until it allows.
TEST(ModelessForm, CloseQueryMayKeepTheFormOpen) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 120, 60);
  bool allow = false;
  int32_t asked = 0;
  form.OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  form.Show();
  form.Widget()->close();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Widget()->isVisible());
  allow = true;
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(asked, 2);
}

// The window system's resizes and moves reach the form's bounds, and OnResize runs after
// each resize.
TEST(ModelessForm, TheFormFollowsItsWindowsBounds) {
  TForm form(nullptr);
  form.SetBounds(10, 20, 120, 60);
  std::vector<int32_t> widths;
  form.OnResize = [&](TObject*) { widths.push_back(form.Width()); };
  form.Show();
  form.Widget()->resize(150, 90);
  form.Widget()->move(30, 40);
  EXPECT_EQ(form.Width(), 150);
  EXPECT_EQ(form.Height(), 90);
  EXPECT_EQ(form.Left(), 30);
  EXPECT_EQ(form.Top(), 40);
  ASSERT_FALSE(widths.empty());
  EXPECT_EQ(widths.back(), 150);
}

}  // namespace

namespace {

// A form with a smallest size: set smaller, it takes the smallest; the window cannot be
// made smaller by the user either.
TEST(ModelessForm, ConstraintsKeepTheSmallestSize) {
  TForm form(nullptr);
  form.SetBounds(10, 20, 120, 60);
  form.SetConstraints({100, 80});
  EXPECT_EQ(form.Width(), 120);
  EXPECT_EQ(form.Height(), 80);
  form.SetBounds(10, 20, 50, 40);
  EXPECT_EQ(form.Width(), 100);
  EXPECT_EQ(form.Height(), 80);
  form.Show();
  EXPECT_EQ(form.Widget()->minimumSize(), QSize(100, 80));
  form.Widget()->resize(30, 30);
  EXPECT_EQ(form.Width(), 100);
  EXPECT_EQ(form.Height(), 80);
  form.SetBounds(10, 20, 160, 90);
  EXPECT_EQ(form.Widget()->size(), QSize(160, 90));
}

}  // namespace
