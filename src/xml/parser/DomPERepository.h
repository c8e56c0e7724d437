// The parameter entities declared so far while a DTD is read, looked up by name when a
// parameter-entity reference ("%name;") is met. External entities are loaded on first
// demand, once, through the reader that owns the repository.
#pragma once

#include "xml/dom/DomNode.h"
#include "xml/dom/DomNodeLists.h"
#include "xml/parser/XmlErrorKinds.h"

inline constexpr char SAOwnerNotSpecified[] = "AOwner not specified.";

// What the repository needs of the DTD reader that owns it: the text of an external
// entity, with the load's error type (0 when loaded).
class IDomExternalPELoader {
public:
  virtual ~IDomExternalPELoader() = default;
  virtual void LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral, WideStringView systemLiteral,
                              TXmlErrorKind& loadError, WideString& replacementText) = 0;
};

class TDomPERepository;

enum TDomPEKind : uint8_t { peExternal = 0, peInternal = 1 };

class TDomPEInfoObject final : public TDomCustomNode {
public:
  // Internal entity: the value is checked as character data and its character
  // references replaced. EAccessViolation "AOwner not specified." without a repository;
  // EInvalid_Character_Err "Invalid character error." for a name that is not a Name or a
  // value that fails the check.
  TDomPEInfoObject(TDomPERepository* repository, WideStringView entityName, WideStringView value);
  // External entity, not loaded yet. The same exceptions, also for a system literal that
  // is not a SystemLiteral or a public literal that is not a PubidLiteral.
  TDomPEInfoObject(TDomPERepository* repository, WideStringView entityName, WideStringView baseUri,
                   WideStringView publicLiteral, WideStringView systemLiteral);

  WideString GetNodeName() const override { return EntityName; }
  // Loads an external entity through the repository (marks the load as tried first).
  void LoadExternal();
  // The system literal resolved against the base URI; empty when that fails.
  WideString ResolvedSystemId() const;

  WideString BaseUri;
  TDomPEKind EntityKind;
  bool LoadTried;
  TXmlErrorKind LoadError = 0;
  WideString ReplacementText;
  WideString EntityName;
  TDomPERepository* OwnerRepository;
  WideString PublicLiteral, SystemLiteral;
};

class TDomPERepository {
public:
  // EAccessViolation "AOwner not specified." without a reader.
  explicit TDomPERepository(IDomExternalPELoader* ownerReader);
  virtual ~TDomPERepository() = default;

  // False, changing nothing, when the name is declared already (the first declaration
  // binds); the constructors' exceptions pass on with nothing added.
  bool AddInternalPE(WideStringView name, WideStringView value);
  bool AddExternalPE(WideStringView name, WideStringView baseUri, WideStringView publicLiteral,
                     WideStringView systemLiteral);

  // Hands the request to the owner reader, with the replacement text cleared first.
  virtual void LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral, WideStringView systemLiteral,
                              TXmlErrorKind& loadError, WideString& replacementText);
  // Frees every entity.
  virtual void Clear() { DeclaredPEs.Clear(); }
  // 65 for a name that is not a Name, 37 for an undeclared one, 148 for an external one
  // while loadExternal is false, else 0 or the load's error type. The results are filled
  // only for types 0 to 5.
  virtual TXmlErrorKind GetReplacementInfo(WideStringView name, bool loadExternal, WideString& replacementText,
                                           WideString& publicLiteral, WideString& resolvedSystemId);

  IDomExternalPELoader* OwnerReader() const { return FOwnerReader; }
  TDomOwnerNamedNodeMap DeclaredPEs;

private:
  IDomExternalPELoader* FOwnerReader;
};
