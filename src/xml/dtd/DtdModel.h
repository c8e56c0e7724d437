// What a document type definition declares: element types with their content models,
// attribute lists, general entities and notations. Names compare exactly
// (case-sensitive); the first declaration of a name binds.
//
// Ownership: the model owns every declaration through its four maps; an attribute-list
// collection owns its attribute declarations; an element declaration owns every content
// particle it created. Sub-model lists only point at particles of the same declaration.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "xml/XmlLimits.h"
#include "xml/parser/XmlErrorKinds.h"

class TDtdModel;
class TDtdElementDecl;
class TDtdAttDeclCollection;

enum TDtdObjectKind : uint8_t {
  okUndefined,
  okAttListCollection,
  okAttributeDecl,
  okContentModel,
  okElementDecl,
  okEntityDecl,
  okNotationDecl,
};

// Where a declaration came from.
enum TDtdDeclOrigin : uint8_t {
  doInternalSubset,
  doExternalSubset,  // the external subset or an external parameter entity
  doPredefined,      // the five predefined entities
};

enum TDtdContentModelType : uint8_t { cmtChoice, cmtName, cmtSequence };
// A set of TDtdContentModelType, one bit per type.
using TDtdContentModelTypes = uint8_t;
constexpr TDtdContentModelTypes ContentModelTypeBit(TDtdContentModelType t) {
  return static_cast<TDtdContentModelTypes>(1u << t);
}

enum TDtdFrequency : uint8_t { cmfRequired, cmfOptional, cmfOneOrMore, cmfZeroOrMore };

enum TDtdElementContentType : uint8_t {
  DTD_ANY_CONTENTTYPE,
  DTD_EMPTY_CONTENTTYPE,
  DTD_ELEMENT_CONTENTTYPE,
  DTD_MIXED_CONTENTTYPE,
  DTD_STRICT_MIXED_CONTENTTYPE,
};

// An enumerated type such as "(a|b|c)" is atNmToken with a non-empty enumeration.
enum TDtdAttrType : uint8_t {
  atCData,
  atNotation,
  atId,
  atIdRef,
  atIdRefs,
  atEntity,
  atEntities,
  atNmToken,
  atNmTokens,
};

enum TDtdDefaultKind : uint8_t { dcDefault, dcFixed, dcImplied, dcRequired };

enum TDtdEntityKind : uint8_t { ekInternal, ekExternal, ekPredefined };

// Preparation states the model stores; 1, 2, 3 and 5 belong to the DTD-to-model parser.
namespace DtdPreparation {
inline constexpr uint8_t Unprepared = 0;
inline constexpr uint8_t Aborted = 4;
inline constexpr uint8_t Complete = 6;
inline constexpr uint8_t NoDtd = 7;
}  // namespace DtdPreparation

inline constexpr char SOwnerDtdModelMissing[] = "Owner DTD subset model not specified.";
inline constexpr char SDtdNotFound[] = "Not found error.";
inline constexpr char SContentModelInUse[] = "Content model in use error.";
inline constexpr char SWrongOwnerElementDecl[] = "Not supported error: Wrong owner element declaration.";
inline constexpr char SPredefinedEntityNotSupported[] = "Setting of predefined entity declarations not supported.";

class TDtdObject : public TObject {
public:
  // Raises EAccessViolation "Owner DTD subset model not specified." without a model.
  TDtdObject(TDtdModel* ownerModel, WideStringView name);
  virtual WideString GetName() const { return FName; }
  TDtdObjectKind ObjectKind() const { return FObjectKind; }
  TDtdModel* OwnerModel() const { return FOwnerModel; }
  // Drawn from the model's counter: a smaller key is an earlier declaration.
  uint64_t Key() const { return FKey; }

protected:
  WideString FName;
  TDtdObjectKind FObjectKind = okUndefined;

private:
  TDtdModel* FOwnerModel;
  uint64_t FKey;
};

// An ordered list of objects it does not own.
class TDtdObjectList {
public:
  TDtdObject* Append(TDtdObject* object);
  void Delete(int32_t index);
  int32_t IndexOf(const TDtdObject* object) const;
  // Appends when reference is nil, otherwise inserts at the reference's position.
  TDtdObject* InsertBefore(TDtdObject* object, const TDtdObject* reference);
  int32_t GetLength() const { return static_cast<int32_t>(FItems.size()); }
  TDtdObject* Remove(TDtdObject* object);
  // Nil outside 0..length-1.
  TDtdObject* GetItem(int32_t index) const;
  void Clear() { FItems.clear(); }

private:
  std::vector<TDtdObject*> FItems;
};

// Declarations in declaration order, looked up by name. It owns its objects; names are
// unique in it (SetNamedItem replaces), so a hash index finds the one object of a name.
class TDtdNamedObjectMap {
public:
  explicit TDtdNamedObjectMap(TDtdModel* ownerModel) : FOwnerModel(ownerModel) {}
  int32_t GetLength() const { return static_cast<int32_t>(FItems.size()); }
  // Hands the object of that name back to the caller; ENot_Found_Err "Not found error."
  // when there is none.
  std::unique_ptr<TDtdObject> RemoveNamedItem(WideStringView name);
  // Appends the object; the object of the same name, if any, is taken out and returned.
  std::unique_ptr<TDtdObject> SetNamedItem(std::unique_ptr<TDtdObject> object);
  // Frees every object.
  void Clear();
  TDtdObject* GetNamedItem(WideStringView name) const;
  TDtdObject* GetItem(int32_t index) const;
  TDtdModel* OwnerModel() const { return FOwnerModel; }

private:
  TDtdModel* FOwnerModel;
  std::vector<std::unique_ptr<TDtdObject>> FItems;
  std::unordered_map<WideString, TDtdObject*> FIndex;
};

// A run of content-model matching: the work it may still do and how deep it may nest.
// Hostile models (stars inside stars, choices of choices) are cut off here with
// EDtdMatchLimitExceeded instead of running for an exponential time or overflowing the
// stack.
struct TDtdMatchBudget {
  explicit TDtdMatchBudget(const TXmlLimits& limits = DefaultXmlLimits())
      : StepsAvail(limits.MaxContentModelSteps), MaxDepth(limits.MaxContentModelDepth) {}
  int64_t StepsAvail;
  int32_t MaxDepth;
  int32_t Depth = 0;
};

class EDtdMatchLimitExceeded : public Exception {
public:
  using Exception::Exception;
};
inline constexpr char SContentModelStepsExceeded[] = "Content-model matching exceeded MaxContentModelSteps.";
inline constexpr char SContentModelDepthExceeded[] = "Content-model matching exceeded MaxContentModelDepth.";

// One particle of an element's content model: a name, a choice or a sequence, with its
// frequency. Only a name particle carries a name.
class TDtdContentModel final : public TDtdObject {
public:
  TDtdContentModel(TDtdElementDecl* ownerElementDecl, TDtdContentModelType particleType, WideStringView name);

  using TNames = std::vector<WideString>;
  // Matching of child-element names from `position`, greedy and without backtracking.
  // Each takes `optional` (succeed without consuming when nothing matches) and sets
  // `ambiguity` when two alternatives of a choice both consume names; a set ambiguity
  // makes the result false. Raise EDtdMatchLimitExceeded when the budget runs out.
  bool MatchChoice(const TNames& names, int32_t& position, bool& ambiguity, bool optional, TDtdMatchBudget& budget);
  bool MatchName(const TNames& names, int32_t& position, bool& ambiguity, bool optional, TDtdMatchBudget& budget);
  bool MatchParticle(const TNames& names, int32_t& position, bool& ambiguity, bool optional, TDtdMatchBudget& budget);
  bool MatchSequence(const TNames& names, int32_t& position, bool& ambiguity, bool optional, TDtdMatchBudget& budget);
  // Applies the particle's frequency.
  bool Match(const TNames& names, int32_t& position, bool& ambiguity, TDtdMatchBudget& budget);
  bool Match(const TNames& names, int32_t& position, bool& ambiguity);

  // Raise EInuse_Err "Content model in use error." for a particle already in use.
  TDtdContentModel* AppendSubModel(TDtdContentModel* particle);
  TDtdContentModel* InsertSubModelBefore(TDtdContentModel* particle, TDtdContentModel* reference);
  // ENot_Found_Err "Node not found error." when the particle is not a sub-model of this one.
  TDtdContentModel* RemoveSubModel(TDtdContentModel* particle);

  TDtdContentModelTypes AllowedSubModels() const { return FAllowedSubModels; }
  TDtdContentModelType ParticleType() const { return FParticleType; }
  TDtdFrequency Frequency() const { return FFrequency; }
  void SetFrequency(TDtdFrequency value) { FFrequency = value; }
  bool InUse() const { return FInUse; }
  void SetInUse(bool value) { FInUse = value; }
  TDtdElementDecl* OwnerElementDecl() const { return FOwnerElementDecl; }
  int32_t SubModelCount() const { return FSubModels.GetLength(); }
  TDtdContentModel* SubModel(int32_t index) const { return static_cast<TDtdContentModel*>(FSubModels.GetItem(index)); }

private:
  void CheckNotInUse(const TDtdContentModel* particle) const;

  TDtdContentModelTypes FAllowedSubModels;
  TDtdContentModelType FParticleType;
  TDtdFrequency FFrequency = cmfRequired;
  bool FInUse = false;
  TDtdElementDecl* FOwnerElementDecl;
  TDtdObjectList FSubModels;
};

class TDtdAttributeDecl final : public TDtdObject {
public:
  // EInvalid_Character_Err "Invalid character error." unless the name is a Name.
  TDtdAttributeDecl(TDtdAttDeclCollection* ownerCollection, TDtdDeclOrigin origin, TDtdDefaultKind defaultKind,
                    TDtdAttrType attributeType, const std::vector<WideString>& enumeration, WideStringView defaultValue,
                    WideStringView attributeName);

  TDtdAttrType AttributeType() const { return FAttributeType; }
  const WideString& DefaultValue() const { return FDefaultValue; }
  TDtdDefaultKind DefaultKind() const { return FDefaultKind; }
  // The enumerated tokens or the notation names.
  const std::vector<WideString>& Enumeration() const { return FEnumeration; }
  TDtdDeclOrigin Origin() const { return FOrigin; }
  TDtdAttDeclCollection* OwnerCollection() const { return FOwnerCollection; }

private:
  TDtdAttrType FAttributeType;
  WideString FDefaultValue;
  TDtdDefaultKind FDefaultKind;
  std::vector<WideString> FEnumeration;
  TDtdDeclOrigin FOrigin;
  TDtdAttDeclCollection* FOwnerCollection;
};

// The attribute declarations of one element type, named after the element type.
class TDtdAttDeclCollection final : public TDtdObject {
public:
  // EInvalid_Character_Err "Invalid character error." unless the name is a Name.
  TDtdAttDeclCollection(TDtdModel* ownerModel, WideStringView elementName);

  void Clear() { FAttributeDecls.Clear(); }
  TDtdAttributeDecl* FindAttributeDecl(WideStringView name) const;
  bool RemoveAttributeDecl(WideStringView name);
  // True with the new declaration; false with the existing one when the name was
  // declared already.
  bool AddAttributeDecl(WideStringView attributeName, WideStringView defaultValue, TDtdDeclOrigin origin,
                        TDtdDefaultKind defaultKind, TDtdAttrType attributeType,
                        const std::vector<WideString>& enumeration, TDtdAttributeDecl*& declaration);
  int32_t GetLength() const { return FAttributeDecls.GetLength(); }
  TDtdAttributeDecl* GetItem(int32_t index) const {
    return static_cast<TDtdAttributeDecl*>(FAttributeDecls.GetItem(index));
  }

private:
  TDtdNamedObjectMap FAttributeDecls;
};

class TDtdElementDecl final : public TDtdObject {
public:
  // EInvalid_Character_Err "Invalid character error." unless the name is a Name.
  TDtdElementDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, TDtdElementContentType contentType,
                  WideStringView name);

  void FreeAllContentModels();
  TDtdContentModel* CreateContentModel(WideStringView name, TDtdContentModelType particleType);
  // Frees the particle and, depth first, its sub-models; the reference becomes nil.
  // EInuse_Err "Content model in use error." for a particle in use; ENot_Found_Err
  // "Node not found error." for one this declaration did not create.
  void FreeContentModel(TDtdContentModel*& particle);
  // Makes the particle the top model and returns the previous one (nil clears the model).
  TDtdContentModel* SetContentModel(TDtdContentModel* particle);

  TDtdDeclOrigin Origin() const { return FOrigin; }
  TDtdContentModelTypes AllowedTopModels() const { return FAllowedTopModels; }
  TDtdContentModel* ContentModel() const { return FContentModel; }
  TDtdElementContentType ContentType() const { return FContentType; }
  int32_t CreatedContentModelCount() const { return static_cast<int32_t>(FCreatedContentModels.size()); }

private:
  void FreeOne(TDtdContentModel* particle);

  TDtdDeclOrigin FOrigin;
  TDtdContentModelTypes FAllowedTopModels;
  TDtdContentModel* FContentModel = nullptr;
  TDtdElementContentType FContentType;
  std::vector<std::unique_ptr<TDtdContentModel>> FCreatedContentModels;
};

// Loads the text of an external entity: (origin, base URI, system identifier, public
// identifier, out text) → error type.
using TDtdEntityResolver =
    std::function<TXmlErrorKind(TDtdDeclOrigin, WideStringView, WideStringView, WideStringView, WideString&)>;

class TDtdEntityDecl final : public TDtdObject {
public:
  // EInvalid_Character_Err "Invalid character error." unless the name is a Name.
  TDtdEntityDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, WideStringView baseUri, WideStringView notationName,
                 WideStringView systemId, WideStringView publicId, WideStringView entityValue, WideStringView name);

  // False when a chain of references from this entity comes back to it or to one of
  // `visitedNames`; undeclared entities end a chain. Work is linear in the references.
  bool IsFreeOfRecursion(const std::vector<WideString>* visitedNames) const;
  bool IsParsed() const { return FNotationName.empty(); }
  // IsFreeOfRecursion without visited names, found once while the model's entities stay
  // as they are: an expansion asks it for every reference it meets.
  bool IsNotRecursive() const;
  // Loads an external parsed entity's text once; 87 for an unparsed one, else the
  // resolver's error type (0 for everything that needs no loading).
  TXmlErrorKind Resolve(const TDtdEntityResolver& resolver);
  TDtdEntityKind GetEntityKind() const;
  // Stores the text and lists the entity names it references.
  void SetReplacementText(WideStringView text);

  const WideString& BaseUri() const { return FBaseUri; }
  // Every name referenced as "&name;" in the replacement text, in order.
  const std::vector<WideString>& ReferencedEntities() const { return FReferencedEntities; }
  const WideString& NotationName() const { return FNotationName; }
  TDtdDeclOrigin Origin() const { return FOrigin; }
  const WideString& PublicId() const { return FPublicId; }
  const WideString& ReplacementText() const { return FReplacementText; }
  const WideString& SystemId() const { return FSystemId; }
  bool Resolved() const { return FResolved; }

private:
  WideString FBaseUri;
  std::vector<WideString> FReferencedEntities;
  WideString FNotationName;
  TDtdDeclOrigin FOrigin;
  WideString FPublicId, FReplacementText, FSystemId;
  bool FResolved = false;
  // The answer of IsNotRecursive and the model's entity generation it holds for (0: none).
  mutable bool FNotRecursive = false;
  mutable uint64_t FRecursionCheckedAt = 0;
};

class TDtdNotationDecl final : public TDtdObject {
public:
  // EInvalid_Character_Err "Invalid character error." unless the name is a Name, the
  // public identifier a PubidLiteral and the system identifier a SystemLiteral.
  TDtdNotationDecl(TDtdModel* ownerModel, TDtdDeclOrigin origin, WideStringView systemId, WideStringView publicId,
                   WideStringView name);
  TDtdDeclOrigin Origin() const { return FOrigin; }
  const WideString& PublicId() const { return FPublicId; }
  const WideString& SystemId() const { return FSystemId; }

private:
  TDtdDeclOrigin FOrigin;
  WideString FPublicId, FSystemId;
};

class TDtdModel : public TObject {
public:
  // Holds the five predefined entities from the start.
  TDtdModel();
  ~TDtdModel() override;
  TDtdModel(const TDtdModel&) = delete;
  TDtdModel& operator=(const TDtdModel&) = delete;

  // Frees every declaration (attribute lists, elements, entities, notations).
  virtual void Clear();
  virtual void SetPreparationStatus(uint8_t value) { FPreparationStatus = value; }
  // Clear, then the defaults again (status 0, the predefined entities).
  virtual void Reset();

  // Nil when nothing has the name.
  TDtdAttDeclCollection* FindAttDeclCollection(WideStringView elementName) const;
  TDtdAttributeDecl* FindAttributeDecl(WideStringView elementName, WideStringView attributeName) const;
  TDtdElementDecl* FindElementDecl(WideStringView name) const;
  TDtdEntityDecl* FindEntityDecl(WideStringView name) const;
  TDtdNotationDecl* FindNotationDecl(WideStringView name) const;

  // An attribute list left empty goes with its last declaration.
  bool RemoveAttributeDecl(WideStringView elementName, WideStringView attributeName);
  bool RemoveElementDecl(WideStringView name);
  // Refuses the predefined entities.
  bool RemoveEntityDecl(WideStringView name);
  bool RemoveNotationDecl(WideStringView name);

  // Each Add: true with the new declaration, or false with the existing one when the
  // name is already declared.
  bool AddAttributeDecl(WideStringView elementName, WideStringView attributeName, WideStringView defaultValue,
                        TDtdDeclOrigin origin, TDtdDefaultKind defaultKind, TDtdAttrType attributeType,
                        const std::vector<WideString>& enumeration, TDtdAttributeDecl*& declaration);
  bool AddElementDecl(WideStringView name, TDtdElementContentType contentType, TDtdDeclOrigin origin,
                      TDtdElementDecl*& declaration);
  // Origin doPredefined is refused with ENot_Supported_Err "Setting of predefined entity
  // declarations not supported." (the model adds those itself).
  bool AddEntityDecl(WideStringView name, WideStringView entityValue, TDtdDeclOrigin origin, WideStringView baseUri,
                     WideStringView notationName, WideStringView systemId, WideStringView publicId,
                     TDtdEntityDecl*& declaration);
  bool AddNotationDecl(WideStringView name, WideStringView publicId, TDtdDeclOrigin origin, WideStringView systemId,
                       TDtdNotationDecl*& declaration);

  uint64_t NextKey() { return ++FKeyCounter; }
  // Counts changes of the entities (a declaration added or removed, a replacement text
  // set), on which the answers about recursion depend; never 0.
  uint64_t EntityGeneration() const { return FEntityGeneration; }
  void EntitiesChanged() { ++FEntityGeneration; }

  const TDtdNamedObjectMap& AttributeListCollections() const { return FAttributeListCollections; }
  const TDtdNamedObjectMap& ElementDecls() const { return FElementDecls; }
  const TDtdNamedObjectMap& EntityDecls() const { return FEntityDecls; }
  const TDtdNamedObjectMap& NotationDecls() const { return FNotationDecls; }

  WideString ExternalSubsetSystemId;
  // The base URI of the document that holds the internal subset.
  WideString InternalSubsetSystemId;
  bool InternalSubsetHasPEReferences = false;
  uint8_t PreparationStatus() const { return FPreparationStatus; }

private:
  void SetDefaults();

  uint64_t FKeyCounter = 0;
  uint64_t FEntityGeneration = 1;
  uint8_t FPreparationStatus = DtdPreparation::Unprepared;
  bool FSettingPredefinedEntities = false;
  TDtdNamedObjectMap FAttributeListCollections{this};
  TDtdNamedObjectMap FElementDecls{this};
  TDtdNamedObjectMap FEntityDecls{this};
  TDtdNamedObjectMap FNotationDecls{this};
};
