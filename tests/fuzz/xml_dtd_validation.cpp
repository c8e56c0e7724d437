// Input bytes drive a small machine that declares elements with content models,
// attributes and entities through the DTD model's API, builds a document through the
// DOM's, and validates it with both entity treatments. Declarations and trees the API
// refuses raise the DOM's exception family; validation may only report, or raise
// "Internal Parser error." for an element declared with element or mixed content but
// given no content model (which a DTD reader never leaves behind). Nothing
// may crash, overflow the stack or hang: the limits are narrow here so that hostile
// models and entity nests end quickly.
#include <cstdint>
#include <string_view>

#include "xml/dom/DomElement.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomNode.h"
#include "xml/dtd/DtdValidationAgent.h"

namespace {

// A few names, so that declarations, references and children meet each other.
const char16_t* const Names[] = {u"a", u"b", u"c", u"d"};
const char16_t* const Values[] = {u"x", u"&e0;&e0;", u"&e1;&e1;&e2;", u"<a/>t&e3;", u"a b", u"&#60;", u"&e2", u"&lt;"};
const char16_t* const Entities[] = {u"e0", u"e1", u"e2", u"e3"};

class TMachine {
public:
  TMachine(const uint8_t* data, size_t size) : FData(data), FSize(size) {}

  void Run() {
    TDomImplementation implementation(nullptr);
    implementation.OnError = [](TObject*, const TDomError&, bool& go) { go = true; };
    TDomDocument* document = NewDomDocument<TDomDocument>(implementation);
    auto owned = std::make_unique<TDtdValidationAgent>(document);
    TDtdValidationAgent* agent = owned.get();
    document->SetValidationAgent(std::move(owned));
    TDtdModel& model = agent->DtdModel();
    document->AppendChild(NewDomNode<TDomDocumentTypeDecl>(*document, u"", u"", u"", u"a"));
    model.SetPreparationStatus(DtdPreparation::Complete);
    TDomNode* current = document->AppendChild(NewDomNode<TDomElement>(*document, u"a"));
    TDtdElementDecl* decl = nullptr;
    std::vector<TDtdContentModel*> particles;
    while (FPos < FSize) {
      try {
        switch (Next() % 11) {
          case 0: {
            model.AddElementDecl(Name(), static_cast<TDtdElementContentType>(Next() % 4), Origin(), decl);
            particles.clear();
            break;
          }
          case 1:
            if (decl)
              particles.push_back(decl->CreateContentModel(Name(), static_cast<TDtdContentModelType>(Next() % 3)));
            break;
          case 2:
            if (particles.size() >= 2)
              particles[Next() % particles.size()]->AppendSubModel(particles[Next() % particles.size()]);
            break;
          case 3:
            if (!particles.empty())
              particles[Next() % particles.size()]->SetFrequency(static_cast<TDtdFrequency>(Next() % 4));
            break;
          case 4:
            if (decl && !particles.empty()) decl->SetContentModel(particles[Next() % particles.size()]);
            break;
          case 5: {
            TDtdAttributeDecl* attribute;
            std::vector<WideString> enumeration;
            if (Next() % 2) enumeration = {u"x", u"y"};
            model.AddAttributeDecl(Name(), Name(), Value(), Origin(), static_cast<TDtdDefaultKind>(Next() % 4),
                                   static_cast<TDtdAttrType>(Next() % 9), enumeration, attribute);
            break;
          }
          case 6: {
            TDtdEntityDecl* entity;
            model.AddEntityDecl(Entities[Next() % 4], Value(), Origin(), u"", u"", u"", u"", entity);
            break;
          }
          case 7:
            current = current->AppendChild(NewDomNode<TDomElement>(*document, Name()));
            break;
          case 8:
            if (current->GetParentNode() && current->GetParentNode() != document) current = current->GetParentNode();
            break;
          case 9:
            current->AppendChild(NewDomNode<TDomText>(*document))->SetNodeValue(Value());
            break;
          case 10:
            if (Next() % 2)
              static_cast<TDomElement*>(current)->SetAttribute(Name(), Value());
            else
              current->AppendChild(NewDomNode<TDomEntityReference>(*document, Entities[Next() % 4]));
            break;
        }
      } catch (const EDomException&) {
        // a refused declaration or tree change: the machine goes on
      }
    }
    for (const TDtdEntityTreatment treatment : {etKeep, etExpand}) {
      try {
        agent->ValidateDocument(treatment);
      } catch (const EParserException& e) {
        if (std::string_view(e.what()) != SInternalParserError) throw;
      }
    }
  }

private:
  uint8_t Next() { return FPos < FSize ? FData[FPos++] : 0; }
  const char16_t* Name() { return Names[Next() % 4]; }
  const char16_t* Value() { return Values[Next() % 8]; }
  TDtdDeclOrigin Origin() { return static_cast<TDtdDeclOrigin>(Next() % 2); }

  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TXmlLimits limits;
  limits.MaxContentModelSteps = 100000;
  limits.MaxEntityExpansionChars = 100000;
  const TXmlLimitsOverride narrow(limits);
  TMachine(data, size).Run();
  return 0;
}
