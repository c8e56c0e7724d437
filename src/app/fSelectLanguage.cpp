#include "app/fSelectLanguage.h"

#include "l10n/Localizer.h"

TfrmSelectLanguage::TfrmSelectLanguage(TComponent* owner)
    : TUniForm(owner),
      lblLanguage(CreateOwned<TUniLabel>(*this)),
      cmbLanguage(CreateOwned<TUniComboBox>(*this)),
      btnOK(CreateOwned<TUniButton>(*this)),
      btnCancel(CreateOwned<TUniButton>(*this)),
      dlcSelectLanguage(CreateOwned<TLanguageController>(*this)) {
  SetName("frmSelectLanguage");
  SetCaption(u"Select Language");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(297);
  SetClientHeight(105);

  lblLanguage->SetName("lblLanguage");
  lblLanguage->SetParent(this);
  lblLanguage->SetCaption(u"Language:");
  lblLanguage->SetBounds(16, 16, 265, 13);

  cmbLanguage->SetName("cmbLanguage");
  cmbLanguage->SetParent(this);
  cmbLanguage->SetStyle(csDropDownList);
  cmbLanguage->SetBounds(16, 32, 265, 21);

  btnOK->SetName("btnOK");
  btnOK->SetParent(this);
  btnOK->SetCaption(u"OK");
  btnOK->SetDefault(true);
  btnOK->SetModalResult(mrOk);
  btnOK->SetBounds(126, 68, 75, 25);

  btnCancel->SetName("btnCancel");
  btnCancel->SetParent(this);
  btnCancel->SetCaption(u"Cancel");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  btnCancel->SetBounds(206, 68, 75, 25);

  dlcSelectLanguage->SetName("dlcSelectLanguage");
  dlcSelectLanguage->SetSectionName(u"SelectLanguage");
  // The texts are collected before the list is filled, so the language names are never
  // among them; then the dialog takes the current language.
  dlcSelectLanguage->UpdateComponents(true);
  LangManager().TranslateToCurrent(*dlcSelectLanguage);
  FormCreate();
}

void TfrmSelectLanguage::FormCreate() {
  TLanguageManager& manager = LangManager();
  const int32_t count = manager.GetLanguageCount();
  for (int32_t i = 0; i < count; ++i) cmbLanguage->Items()->Add(manager.GetLanguageNameAt(i));
}

bool TfrmSelectLanguage::Execute(uint16_t& langID) {
  cmbLanguage->SetItemIndex(LangManager().IndexOfLanguageID(langID));
  if (ShowModal() != mrOk) return false;
  const int32_t selected = cmbLanguage->ItemIndex();
  langID = LangManager().GetLanguageIDAt(selected < 0 ? 0 : selected);
  return true;
}
