#include "xml/dtd/DtdModel.h"

#include <algorithm>

#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlAttrValueTokenizer.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

void RequireName(WideStringView name) {
  if (!TextIsName(name)) throw EInvalid_Character_Err(SInvalid_Character_Err);
}

constexpr TDtdContentModelTypes GroupTypes =
    ContentModelTypeBit(cmtChoice) | ContentModelTypeBit(cmtName) | ContentModelTypeBit(cmtSequence);
constexpr TDtdContentModelTypes TopModelTypes = ContentModelTypeBit(cmtChoice) | ContentModelTypeBit(cmtSequence);

}  // namespace

// ---- TDtdObject ----

TDtdObject::TDtdObject(TDtdModel* ownerModel, WideStringView name) : FName(name), FOwnerModel(ownerModel) {
  if (!ownerModel) throw EAccessViolation(SOwnerDtdModelMissing);
  FKey = ownerModel->NextKey();
}

// ---- TDtdObjectList ----

TDtdObject* TDtdObjectList::Append(TDtdObject* object) {
  FItems.push_back(object);
  return object;
}

void TDtdObjectList::Delete(int32_t index) {
  if (index >= 0 && index < GetLength()) FItems.erase(FItems.begin() + index);
}

int32_t TDtdObjectList::IndexOf(const TDtdObject* object) const {
  const auto it = std::find(FItems.begin(), FItems.end(), object);
  return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

TDtdObject* TDtdObjectList::InsertBefore(TDtdObject* object, const TDtdObject* reference) {
  const int32_t index = reference ? IndexOf(reference) : -1;
  if (index < 0) return Append(object);
  FItems.insert(FItems.begin() + index, object);
  return object;
}

TDtdObject* TDtdObjectList::Remove(TDtdObject* object) {
  Delete(IndexOf(object));
  return object;
}

TDtdObject* TDtdObjectList::GetItem(int32_t index) const {
  return index >= 0 && index < GetLength() ? FItems[static_cast<size_t>(index)] : nullptr;
}

// ---- TDtdNamedObjectMap ----

std::unique_ptr<TDtdObject> TDtdNamedObjectMap::RemoveNamedItem(WideStringView name) {
  const auto found = FIndex.find(WideString(name));
  if (found == FIndex.end()) throw ENot_Found_Err(SDtdNotFound);
  const auto it =
      std::find_if(FItems.begin(), FItems.end(), [&](const auto& item) { return item.get() == found->second; });
  std::unique_ptr<TDtdObject> removed = std::move(*it);
  FItems.erase(it);
  FIndex.erase(found);
  return removed;
}

std::unique_ptr<TDtdObject> TDtdNamedObjectMap::SetNamedItem(std::unique_ptr<TDtdObject> object) {
  const WideString name = object->GetName();
  std::unique_ptr<TDtdObject> previous = FIndex.count(name) ? RemoveNamedItem(name) : nullptr;
  FIndex.emplace(name, object.get());
  FItems.push_back(std::move(object));
  return previous;
}

void TDtdNamedObjectMap::Clear() {
  FIndex.clear();
  FItems.clear();
}

TDtdObject* TDtdNamedObjectMap::GetNamedItem(WideStringView name) const {
  const auto found = FIndex.find(WideString(name));
  return found == FIndex.end() ? nullptr : found->second;
}

TDtdObject* TDtdNamedObjectMap::GetItem(int32_t index) const {
  return index >= 0 && index < GetLength() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

// ---- TDtdContentModel (construction and structure; matching is in DtdContentMatching.cpp) ----

TDtdContentModel::TDtdContentModel(TDtdElementDecl* ownerElementDecl, TDtdContentModelType particleType,
                                   WideStringView name)
    : TDtdObject(ownerElementDecl ? ownerElementDecl->OwnerModel() : nullptr,
                 particleType == cmtName ? name : WideStringView()),
      FAllowedSubModels(particleType == cmtName ? 0 : GroupTypes),
      FParticleType(particleType),
      FOwnerElementDecl(ownerElementDecl) {
  FObjectKind = okContentModel;
}

void TDtdContentModel::CheckNotInUse(const TDtdContentModel* particle) const {
  if (particle->InUse()) throw EInuse_Err(SContentModelInUse);
}

TDtdContentModel* TDtdContentModel::AppendSubModel(TDtdContentModel* particle) {
  CheckNotInUse(particle);
  FSubModels.Append(particle);
  particle->SetInUse(true);
  return particle;
}

TDtdContentModel* TDtdContentModel::InsertSubModelBefore(TDtdContentModel* particle, TDtdContentModel* reference) {
  CheckNotInUse(particle);
  FSubModels.InsertBefore(particle, reference);
  particle->SetInUse(true);
  return particle;
}

TDtdContentModel* TDtdContentModel::RemoveSubModel(TDtdContentModel* particle) {
  if (FSubModels.IndexOf(particle) < 0) throw ENot_Found_Err(SNot_Found_Err);
  FSubModels.Remove(particle);
  particle->SetInUse(false);
  return particle;
}

// ---- TDtdAttributeDecl, TDtdAttDeclCollection ----

TDtdAttributeDecl::TDtdAttributeDecl(TDtdAttDeclCollection* ownerCollection, TDtdDeclOrigin origin,
                                     TDtdDefaultKind defaultKind, TDtdAttrType attributeType,
                                     const std::vector<WideString>& enumeration, WideStringView defaultValue,
                                     WideStringView attributeName)
    : TDtdObject(ownerCollection ? ownerCollection->OwnerModel() : nullptr, attributeName),
      FAttributeType(attributeType),
      FDefaultValue(defaultValue),
      FDefaultKind(defaultKind),
      FEnumeration(enumeration),
      FOrigin(origin),
      FOwnerCollection(ownerCollection) {
  FObjectKind = okAttributeDecl;
  RequireName(attributeName);
}

TDtdAttDeclCollection::TDtdAttDeclCollection(TDtdModel* ownerModel, WideStringView elementName)
    : TDtdObject(ownerModel, elementName), FAttributeDecls(ownerModel) {
  FObjectKind = okAttListCollection;
  RequireName(elementName);
}

TDtdAttributeDecl* TDtdAttDeclCollection::FindAttributeDecl(WideStringView name) const {
  return static_cast<TDtdAttributeDecl*>(FAttributeDecls.GetNamedItem(name));
}

bool TDtdAttDeclCollection::RemoveAttributeDecl(WideStringView name) {
  if (!FindAttributeDecl(name)) return false;
  FAttributeDecls.RemoveNamedItem(name);
  return true;
}

bool TDtdAttDeclCollection::AddAttributeDecl(WideStringView attributeName, WideStringView defaultValue,
                                             TDtdDeclOrigin origin, TDtdDefaultKind defaultKind,
                                             TDtdAttrType attributeType, const std::vector<WideString>& enumeration,
                                             TDtdAttributeDecl*& declaration) {
  declaration = FindAttributeDecl(attributeName);
  if (declaration) return false;
  auto created = std::make_unique<TDtdAttributeDecl>(this, origin, defaultKind, attributeType, enumeration,
                                                     defaultValue, attributeName);
  declaration = created.get();
  FAttributeDecls.SetNamedItem(std::move(created));
  return true;
}

// ---- TDtdElementDecl ----

TDtdElementDecl::TDtdElementDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, TDtdElementContentType contentType,
                                 WideStringView name)
    : TDtdObject(ownerModel, name),
      FOrigin(origin),
      FAllowedTopModels(contentType == DTD_ANY_CONTENTTYPE || contentType == DTD_EMPTY_CONTENTTYPE ? 0 : TopModelTypes),
      FContentType(contentType) {
  FObjectKind = okElementDecl;
  RequireName(name);
}

void TDtdElementDecl::FreeAllContentModels() {
  FContentModel = nullptr;
  FCreatedContentModels.clear();
}

TDtdContentModel* TDtdElementDecl::CreateContentModel(WideStringView name, TDtdContentModelType particleType) {
  FCreatedContentModels.push_back(std::make_unique<TDtdContentModel>(this, particleType, name));
  return FCreatedContentModels.back().get();
}

void TDtdElementDecl::FreeOne(TDtdContentModel* particle) {
  const auto it = std::find_if(FCreatedContentModels.begin(), FCreatedContentModels.end(),
                               [&](const auto& created) { return created.get() == particle; });
  FCreatedContentModels.erase(it);
}

void TDtdElementDecl::FreeContentModel(TDtdContentModel*& particle) {
  if (!particle) return;
  if (particle->OwnerElementDecl() != this) throw ENot_Found_Err(SNot_Found_Err);
  if (particle->InUse()) throw EInuse_Err(SContentModelInUse);
  // Depth first without recursion: a particle goes once its last sub-model has gone.
  std::vector<TDtdContentModel*> pending{particle};
  while (!pending.empty()) {
    TDtdContentModel* current = pending.back();
    if (current->SubModelCount() > 0) {
      pending.push_back(current->RemoveSubModel(current->SubModel(current->SubModelCount() - 1)));
    } else {
      pending.pop_back();
      FreeOne(current);
    }
  }
  particle = nullptr;
}

TDtdContentModel* TDtdElementDecl::SetContentModel(TDtdContentModel* particle) {
  if (particle == FContentModel) return particle;
  if (particle) {
    if (particle->OwnerModel() != OwnerModel()) throw ENot_Supported_Err(SWrongOwnerElementDecl);
    if (!(FAllowedTopModels & ContentModelTypeBit(particle->ParticleType())))
      throw ENot_Supported_Err(SNot_Supported_Err);
    if (particle->InUse()) throw EInuse_Err(SContentModelInUse);
    particle->SetInUse(true);
  }
  TDtdContentModel* previous = FContentModel;
  if (previous) previous->SetInUse(false);
  FContentModel = particle;
  return previous;
}

// ---- TDtdEntityDecl ----

TDtdEntityDecl::TDtdEntityDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, WideStringView baseUri,
                               WideStringView notationName, WideStringView systemId, WideStringView publicId,
                               WideStringView entityValue, WideStringView name)
    : TDtdObject(ownerModel, name),
      FBaseUri(baseUri),
      FNotationName(notationName),
      FOrigin(origin),
      FPublicId(publicId),
      FSystemId(systemId) {
  FObjectKind = okEntityDecl;
  RequireName(name);
  switch (GetEntityKind()) {
    case ekInternal:
      SetReplacementText(entityValue);
      break;
    case ekExternal:
      break;
    case ekPredefined:  // taken literally, never scanned for references
      FReplacementText = entityValue;
      FResolved = true;
      break;
  }
}

TDtdEntityKind TDtdEntityDecl::GetEntityKind() const {
  if (!FPublicId.empty() || !FSystemId.empty() || !FNotationName.empty()) return ekExternal;
  return TextIsPredefinedEntityName(FName) ? ekPredefined : ekInternal;
}

bool TDtdEntityDecl::IsNotRecursive() const {
  const TDtdModel* model = OwnerModel();
  if (!model) return IsFreeOfRecursion(nullptr);
  if (FRecursionCheckedAt != model->EntityGeneration()) {
    FNotRecursive = IsFreeOfRecursion(nullptr);
    FRecursionCheckedAt = model->EntityGeneration();
  }
  return FNotRecursive;
}

void TDtdEntityDecl::SetReplacementText(WideStringView text) {
  if (TDtdModel* model = OwnerModel()) model->EntitiesChanged();
  FReplacementText = text;
  FResolved = true;
  FReferencedEntities.clear();
  TXmlAttrValueTokenizer tokenizer(text);
  for (tokenizer.NextToken(); tokenizer.TokenType() != avEnd; tokenizer.NextToken())
    if (tokenizer.TokenType() == avEntityRef) FReferencedEntities.push_back(tokenizer.TokenValue());
}

bool TDtdEntityDecl::IsFreeOfRecursion(const std::vector<WideString>* visitedNames) const {
  if (FReferencedEntities.empty()) return true;
  // Depth-first search over the reference graph with an explicit stack. Names on the
  // current path (and the caller's visited names) are "open": meeting one again is a
  // cycle. Entities whose references were all followed are "done" and never entered
  // again, so each reference is followed at most once.
  enum : uint8_t { Open = 1, Done = 2 };
  std::unordered_map<WideString, uint8_t> state;
  if (visitedNames)
    for (const WideString& name : *visitedNames) state[name] = Open;
  struct Frame {
    const TDtdEntityDecl* Entity;
    size_t Next;
  };
  std::vector<Frame> path{{this, 0}};
  state[FName] = Open;
  while (!path.empty()) {
    Frame& top = path.back();
    if (top.Next == top.Entity->FReferencedEntities.size()) {
      state[top.Entity->FName] = Done;
      path.pop_back();
      continue;
    }
    const WideString& name = top.Entity->FReferencedEntities[top.Next++];
    const auto seen = state.find(name);
    if (seen != state.end()) {
      if (seen->second == Open) return false;
      continue;
    }
    const TDtdEntityDecl* referenced = OwnerModel()->FindEntityDecl(name);
    if (!referenced) continue;
    state[name] = Open;
    path.push_back({referenced, 0});
  }
  return true;
}

TXmlErrorKind TDtdEntityDecl::Resolve(const TDtdEntityResolver& resolver) {
  if (GetEntityKind() != ekExternal || FResolved) return 0;
  if (!IsParsed()) return XmlErrors::UnparsedEntityReference;
  WideString text;
  const TXmlErrorKind errorType = resolver(FOrigin, FBaseUri, FSystemId, FPublicId, text);
  if (IsNonErrorKind(errorType)) SetReplacementText(text);
  return errorType;
}

// ---- TDtdNotationDecl ----

TDtdNotationDecl::TDtdNotationDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, WideStringView systemId,
                                   WideStringView publicId, WideStringView name)
    : TDtdObject(ownerModel, name), FOrigin(origin), FPublicId(publicId), FSystemId(systemId) {
  FObjectKind = okNotationDecl;
  if (!TextIsName(name) || !TextIsPubidLiteral(publicId) || !TextIsSystemLiteral(systemId))
    throw EInvalid_Character_Err(SInvalid_Character_Err);
}

// ---- TDtdModel ----

TDtdModel::TDtdModel() { SetDefaults(); }

TDtdModel::~TDtdModel() = default;

void TDtdModel::Clear() {
  FAttributeListCollections.Clear();
  FElementDecls.Clear();
  FEntityDecls.Clear();
  FNotationDecls.Clear();
  EntitiesChanged();
}

void TDtdModel::Reset() {
  Clear();
  SetDefaults();
}

void TDtdModel::SetDefaults() {
  FSettingPredefinedEntities = true;
  InternalSubsetHasPEReferences = false;
  FPreparationStatus = DtdPreparation::Unprepared;
  static constexpr const char16_t* Predefined[][2] = {
      {u"lt", u"&#60;"}, {u"gt", u">"}, {u"amp", u"&#38;"}, {u"apos", u"'"}, {u"quot", u"\""}};
  try {
    TDtdEntityDecl* declaration;
    for (const auto& [name, value] : Predefined)
      AddEntityDecl(name, value, doPredefined, u"", u"", u"", u"", declaration);
  } catch (...) {
    FSettingPredefinedEntities = false;
    throw;
  }
  FSettingPredefinedEntities = false;
}

TDtdAttDeclCollection* TDtdModel::FindAttDeclCollection(WideStringView elementName) const {
  return static_cast<TDtdAttDeclCollection*>(FAttributeListCollections.GetNamedItem(elementName));
}

TDtdAttributeDecl* TDtdModel::FindAttributeDecl(WideStringView elementName, WideStringView attributeName) const {
  const TDtdAttDeclCollection* collection = FindAttDeclCollection(elementName);
  return collection ? collection->FindAttributeDecl(attributeName) : nullptr;
}

TDtdElementDecl* TDtdModel::FindElementDecl(WideStringView name) const {
  return static_cast<TDtdElementDecl*>(FElementDecls.GetNamedItem(name));
}

TDtdEntityDecl* TDtdModel::FindEntityDecl(WideStringView name) const {
  return static_cast<TDtdEntityDecl*>(FEntityDecls.GetNamedItem(name));
}

TDtdNotationDecl* TDtdModel::FindNotationDecl(WideStringView name) const {
  return static_cast<TDtdNotationDecl*>(FNotationDecls.GetNamedItem(name));
}

bool TDtdModel::RemoveAttributeDecl(WideStringView elementName, WideStringView attributeName) {
  TDtdAttDeclCollection* collection = FindAttDeclCollection(elementName);
  if (!collection || !collection->RemoveAttributeDecl(attributeName)) return false;
  if (collection->GetLength() == 0) FAttributeListCollections.RemoveNamedItem(elementName);
  return true;
}

bool TDtdModel::RemoveElementDecl(WideStringView name) {
  if (!FindElementDecl(name)) return false;
  FElementDecls.RemoveNamedItem(name);
  return true;
}

bool TDtdModel::RemoveEntityDecl(WideStringView name) {
  const TDtdEntityDecl* declaration = FindEntityDecl(name);
  if (!declaration || declaration->Origin() == doPredefined) return false;
  FEntityDecls.RemoveNamedItem(name);
  EntitiesChanged();
  return true;
}

bool TDtdModel::RemoveNotationDecl(WideStringView name) {
  if (!FindNotationDecl(name)) return false;
  FNotationDecls.RemoveNamedItem(name);
  return true;
}

bool TDtdModel::AddAttributeDecl(WideStringView elementName, WideStringView attributeName, WideStringView defaultValue,
                                 TDtdDeclOrigin origin, TDtdDefaultKind defaultKind, TDtdAttrType attributeType,
                                 const std::vector<WideString>& enumeration, TDtdAttributeDecl*& declaration) {
  TDtdAttDeclCollection* collection = FindAttDeclCollection(elementName);
  std::unique_ptr<TDtdAttDeclCollection> created;
  if (!collection) {
    created = std::make_unique<TDtdAttDeclCollection>(this, elementName);
    collection = created.get();
  }
  // The new collection is stored only once its first declaration was accepted.
  const bool added = collection->AddAttributeDecl(attributeName, defaultValue, origin, defaultKind, attributeType,
                                                  enumeration, declaration);
  if (created) FAttributeListCollections.SetNamedItem(std::move(created));
  return added;
}

bool TDtdModel::AddElementDecl(WideStringView name, TDtdElementContentType contentType, TDtdDeclOrigin origin,
                               TDtdElementDecl*& declaration) {
  declaration = FindElementDecl(name);
  if (declaration) return false;
  auto created = std::make_unique<TDtdElementDecl>(this, origin, contentType, name);
  declaration = created.get();
  FElementDecls.SetNamedItem(std::move(created));
  return true;
}

bool TDtdModel::AddEntityDecl(WideStringView name, WideStringView entityValue, TDtdDeclOrigin origin,
                              WideStringView baseUri, WideStringView notationName, WideStringView systemId,
                              WideStringView publicId, TDtdEntityDecl*& declaration) {
  if (origin == doPredefined && !FSettingPredefinedEntities) throw ENot_Supported_Err(SPredefinedEntityNotSupported);
  declaration = FindEntityDecl(name);
  if (declaration) return false;
  auto created =
      std::make_unique<TDtdEntityDecl>(this, origin, baseUri, notationName, systemId, publicId, entityValue, name);
  declaration = created.get();
  FEntityDecls.SetNamedItem(std::move(created));
  EntitiesChanged();
  return true;
}

bool TDtdModel::AddNotationDecl(WideStringView name, WideStringView publicId, TDtdDeclOrigin origin,
                                WideStringView systemId, TDtdNotationDecl*& declaration) {
  declaration = FindNotationDecl(name);
  if (declaration) return false;
  auto created = std::make_unique<TDtdNotationDecl>(this, origin, systemId, publicId, name);
  declaration = created.get();
  FNotationDecls.SetNamedItem(std::move(created));
  return true;
}
