#include "xml/parser/DomPERepository.h"

#include "platform/base/Exception.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

TDomPERepository* RequireRepository(TDomPERepository* repository) {
  if (!repository) throw EAccessViolation(SAOwnerNotSpecified);
  return repository;
}

void RequireValid(bool valid) {
  if (!valid) throw EInvalid_Character_Err(SInvalid_Character_Err);
}

bool IsPEInfoObject(const TDomCustomNode& node) { return dynamic_cast<const TDomPEInfoObject*>(&node) != nullptr; }

}  // namespace

TDomPEInfoObject::TDomPEInfoObject(TDomPERepository* repository, WideStringView entityName, WideStringView value)
    : EntityKind(peInternal), LoadTried(true), EntityName(entityName), OwnerRepository(RequireRepository(repository)) {
  RequireValid(TextIsName(entityName));
  try {
    ReplacementText = ResolveCharRefs(value);
  } catch (const EConvertError&) {
    RequireValid(false);
  }
}

TDomPEInfoObject::TDomPEInfoObject(TDomPERepository* repository, WideStringView entityName, WideStringView baseUri,
                                   WideStringView publicLiteral, WideStringView systemLiteral)
    : BaseUri(baseUri),
      EntityKind(peExternal),
      LoadTried(false),
      EntityName(entityName),
      OwnerRepository(RequireRepository(repository)),
      PublicLiteral(publicLiteral),
      SystemLiteral(systemLiteral) {
  RequireValid(TextIsName(entityName) && TextIsSystemLiteral(systemLiteral) && TextIsPubidLiteral(publicLiteral));
}

void TDomPEInfoObject::LoadExternal() {
  if (EntityKind != peExternal) return;
  LoadTried = true;
  OwnerRepository->LoadExternalPE(BaseUri, PublicLiteral, SystemLiteral, LoadError, ReplacementText);
}

WideString TDomPEInfoObject::ResolvedSystemId() const {
  WideString resolved;
  ResolveUriReference(BaseUri, SystemLiteral, resolved);
  return resolved;
}

TDomPERepository::TDomPERepository(IDomExternalPELoader* ownerReader)
    : DeclaredPEs(IsPEInfoObject), FOwnerReader(ownerReader) {
  if (!ownerReader) throw EAccessViolation(SAOwnerNotSpecified);
}

bool TDomPERepository::AddInternalPE(WideStringView name, WideStringView value) {
  if (DeclaredPEs.HasNamedItem(name)) return false;
  DeclaredPEs.Add(std::make_unique<TDomPEInfoObject>(this, name, value));  // frees it if it raises
  return true;
}

bool TDomPERepository::AddExternalPE(WideStringView name, WideStringView baseUri, WideStringView publicLiteral,
                                     WideStringView systemLiteral) {
  if (DeclaredPEs.HasNamedItem(name)) return false;
  DeclaredPEs.Add(std::make_unique<TDomPEInfoObject>(this, name, baseUri, publicLiteral, systemLiteral));
  return true;
}

void TDomPERepository::LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral,
                                      WideStringView systemLiteral, TXmlErrorKind& loadError,
                                      WideString& replacementText) {
  replacementText.clear();
  FOwnerReader->LoadExternalPE(baseUri, publicLiteral, systemLiteral, loadError, replacementText);
}

TXmlErrorKind TDomPERepository::GetReplacementInfo(WideStringView name, bool loadExternal, WideString& replacementText,
                                                   WideString& publicLiteral, WideString& resolvedSystemId) {
  replacementText.clear();
  publicLiteral.clear();
  resolvedSystemId.clear();
  if (!TextIsName(name)) return XmlErrors::InvalidPERefName;
  auto* entity = static_cast<TDomPEInfoObject*>(DeclaredPEs.GetNamedItem(name));
  if (!entity) return XmlErrors::UndeclaredParameterEntity;
  TXmlErrorKind result = 0;
  if (entity->EntityKind == peExternal) {
    if (!loadExternal) return XmlErrors::ExternalPENotLoaded;
    if (!entity->LoadTried) entity->LoadExternal();
    result = entity->LoadError;
  }
  if (!IsNonErrorKind(result)) return result;
  replacementText = entity->ReplacementText;
  publicLiteral = entity->PublicLiteral;
  resolvedSystemId = entity->ResolvedSystemId();
  return result;
}
