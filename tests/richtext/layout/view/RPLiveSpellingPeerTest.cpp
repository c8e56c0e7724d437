// Live spelling with a real spelling checker: hunspell with its English and Russian
// dictionaries answers OnSpellingCheck. A document whose misspelled words are known gets
// exactly those words marked, also when it is edited through its own operations while
// the walk runs. scripts/tsan-live-spelling.sh builds these tests with ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "RPThreadTestData.h"
#include "platform/base/CodePages.h"
#include "platform/base/Utf8.h"

#if QF_HAVE_HUNSPELL
#include <hunspell.hxx>
#endif

namespace {

const char* const DictionaryFolder = "/usr/share/hunspell/";

// The sentences of the documents, misspelled words starred, and their text styles.
struct TSentence {
  std::u16string Starred;
  int32_t StyleNo;
};
const TSentence Sentences[] = {
    {u"The quick brown fox *jumpd* over the *lazzy* dog.", PlainStyle},
    {u"Spelling is checked while you *tpye*, word by word.", PlainStyle},
    {u"Don't stop at 'quoted' words or *recieve* errors.", PlainStyle},
    {u"Быстрая коричневая лиса *прыгаит* через ленивую собаку.", RussianStyle},
    {u"Проверка орфографии работает *правельно* и быстро.", RussianStyle},
    {u"www.exampel.com", LinkStyle},
};
constexpr int32_t SentenceCount = static_cast<int32_t>(sizeof Sentences / sizeof Sentences[0]);

#if QF_HAVE_HUNSPELL

// Both dictionaries; a word is misspelled when neither knows it.
class THunspellChecker {
public:
  THunspellChecker() {
    for (const char* language : {"en_US", "ru_RU"}) {
      const std::string base = std::string(DictionaryFolder) + language;
      if (!std::filesystem::exists(base + ".aff") || !std::filesystem::exists(base + ".dic")) {
        Missing += base + ".aff/.dic ";
        continue;
      }
      FDictionaries.push_back(std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str()));
    }
  }
  // word: 8-bit text in code page 1251 (the code page of both the plain and the Russian
  // styles); the dictionaries take UTF-8.
  bool Misspelled(const AnsiString& word) const {
    std::string utf8;
    for (const WideChar ch : AnsiToWide(word, 1251)) AppendUtf8(utf8, ch);
    for (const auto& dictionary : FDictionaries)
      if (dictionary->spell(utf8)) return false;
    return true;
  }
  std::string Missing;

private:
  std::vector<std::unique_ptr<Hunspell>> FDictionaries;
};

struct THunspellView : TSpellingView {
  THunspellView() {
    Pane.OnSpellingCheck = [this](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      misspelled = Checker.Misspelled(word);
    };
  }
  // Adds sentence n at the end, or in place of item itemNo.
  void Add(int32_t n) {
    const TStarredText text = Unstar(Sentences[n].Starred);
    Data().AddTextW(text.Text, Sentences[n].StyleNo, TRPTag(), 0);
    Texts.push_back(text);
  }
  void Replace(int32_t itemNo, int32_t n) {
    const TStarredText text = Unstar(Sentences[n].Starred);
    ASSERT_EQ(Data().GetItemStyle(itemNo), Sentences[n].StyleNo);
    Data().SetItemTextW(itemNo, text.Text);
    Texts[static_cast<size_t>(itemNo)] = text;
  }
  void Delete(int32_t itemNo, int32_t count) {
    Data().DeleteItems(itemNo, count);
    Texts.erase(Texts.begin() + itemNo, Texts.begin() + itemNo + count);
  }
  std::set<std::string> Expected() const {
    std::set<std::string> marks;
    for (size_t i = 0; i < Texts.size(); ++i) AddMarks(marks, static_cast<int32_t>(i), Texts[i]);
    return marks;
  }
  THunspellChecker Checker;
  std::vector<TStarredText> Texts;  // the document's items, as sentences
};

class RPLiveSpellingPeerTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!THunspellChecker().Missing.empty())
      FAIL() << "hunspell dictionaries are missing (" << THunspellChecker().Missing
             << "): install hunspell-en-us and hunspell-ru (scripts/setup.sh)";
  }
};

TEST_F(RPLiveSpellingPeerTest, HunspellFindsExactlyTheKnownMisspellings) {
  THunspellView view;
  for (int32_t n = 0; n < SentenceCount; ++n) view.Add(n);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), view.Expected());
  EXPECT_EQ(view.Marks().size(), 6u);
}

TEST_F(RPLiveSpellingPeerTest, EditsWhileTheWalkRunsEndWithTheRightMarks) {
  THunspellView view;
  for (int32_t round = 0; round < 12; ++round)
    for (int32_t n = 0; n < SentenceCount; ++n) view.Add(n);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  // The document's own operations, each while the walk may be anywhere.
  const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(3)); };
  pause();
  view.Replace(1, 0);  // item 1 (a sentence with one wrong word) gets two
  pause();
  view.Delete(4, 3);
  view.Add(4);
  pause();
  view.Replace(40, 2);
  view.Data().InsertItem(7, "plainly right", std::make_unique<TRPTextItemInfo>(&view.Data()));
  view.Texts.insert(view.Texts.begin() + 7, Unstar(u"plainly right"));
  for (int32_t n = 0; n < SentenceCount; ++n) {
    view.Add(n);
    view.Pane.Reformat();
  }
  view.Delete(0, 2);
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), view.Expected());
  // Every text item ends up checked.
  for (int32_t i = 0; i < view.Data().GetItemCount(); ++i)
    EXPECT_NE(view.Data().GetItem(i)->ItemState & rpisSpellChecked, 0) << i;
}

#else

TEST(RPLiveSpellingPeerTest, HunspellIsInstalled) {
  FAIL() << "hunspell is missing: install libhunspell-dev, hunspell-en-us and hunspell-ru (scripts/setup.sh) and "
            "configure again";
}

#endif

}  // namespace
