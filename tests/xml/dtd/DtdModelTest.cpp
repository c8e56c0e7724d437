#include <gtest/gtest.h>

#include "xml/dom/DomExceptions.h"
#include "xml/dtd/DtdTestSupport.h"

namespace {

const std::vector<WideString> NoEnumeration;

TEST(DtdModelTest, ANewModelHoldsExactlyThePredefinedEntities) {
  TDtdModel model;
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass == 0 ? "new" : "after Reset");
    ASSERT_EQ(model.EntityDecls().GetLength(), 5);
    const struct {
      const char16_t* Name;
      const char16_t* Text;
    } expected[] = {{u"lt", u"&#60;"}, {u"gt", u">"}, {u"amp", u"&#38;"}, {u"apos", u"'"}, {u"quot", u"\""}};
    for (const auto& e : expected) {
      const TDtdEntityDecl* entity = model.FindEntityDecl(e.Name);
      ASSERT_NE(entity, nullptr);
      EXPECT_EQ(entity->GetEntityKind(), ekPredefined);
      EXPECT_EQ(entity->Origin(), doPredefined);
      EXPECT_EQ(entity->ReplacementText(), e.Text);
      EXPECT_TRUE(entity->Resolved());
      EXPECT_TRUE(entity->ReferencedEntities().empty());  // "&#60;" is not scanned
      EXPECT_FALSE(model.RemoveEntityDecl(e.Name));
    }
    EXPECT_EQ(model.PreparationStatus(), DtdPreparation::Unprepared);
    TDtdEntityDecl* declaration;
    ExpectRaises<ENot_Supported_Err>(
        [&] { model.AddEntityDecl(u"x", u"v", doPredefined, u"", u"", u"", u"", declaration); },
        "Setting of predefined entity declarations not supported.");
    TDtdElementDecl* element;
    model.AddElementDecl(u"book", DTD_ANY_CONTENTTYPE, doInternalSubset, element);
    model.SetPreparationStatus(DtdPreparation::Complete);
    model.InternalSubsetHasPEReferences = true;
    model.Reset();
    EXPECT_EQ(model.FindElementDecl(u"book"), nullptr);
    EXPECT_FALSE(model.InternalSubsetHasPEReferences);
  }
}

TEST(DtdModelTest, TheFirstDeclarationOfANameBinds) {
  TDtdModel model;
  TDtdElementDecl *element1, *element2;
  EXPECT_TRUE(model.AddElementDecl(u"p", DTD_MIXED_CONTENTTYPE, doInternalSubset, element1));
  EXPECT_FALSE(model.AddElementDecl(u"p", DTD_EMPTY_CONTENTTYPE, doExternalSubset, element2));
  EXPECT_EQ(element2, element1);
  EXPECT_EQ(model.FindElementDecl(u"p")->ContentType(), DTD_MIXED_CONTENTTYPE);
  EXPECT_EQ(model.FindElementDecl(u"P"), nullptr);  // case-sensitive

  TDtdAttributeDecl *attribute1, *attribute2;
  EXPECT_TRUE(model.AddAttributeDecl(u"p", u"id", u"", doInternalSubset, dcImplied, atId, NoEnumeration, attribute1));
  EXPECT_FALSE(
      model.AddAttributeDecl(u"p", u"id", u"x", doInternalSubset, dcDefault, atCData, NoEnumeration, attribute2));
  EXPECT_EQ(attribute2, attribute1);
  EXPECT_EQ(model.FindAttributeDecl(u"p", u"id")->AttributeType(), atId);
  EXPECT_EQ(attribute1->OwnerCollection(), model.FindAttDeclCollection(u"p"));

  TDtdEntityDecl *entity1, *entity2;
  EXPECT_TRUE(model.AddEntityDecl(u"e", u"one", doInternalSubset, u"", u"", u"", u"", entity1));
  EXPECT_FALSE(model.AddEntityDecl(u"e", u"two", doInternalSubset, u"", u"", u"", u"", entity2));
  EXPECT_EQ(entity2, entity1);
  EXPECT_EQ(model.FindEntityDecl(u"e")->ReplacementText(), u"one");

  TDtdNotationDecl *notation1, *notation2;
  EXPECT_TRUE(model.AddNotationDecl(u"gif", u"-//GIF//EN", doInternalSubset, u"gif.exe", notation1));
  EXPECT_FALSE(model.AddNotationDecl(u"gif", u"", doInternalSubset, u"other", notation2));
  EXPECT_EQ(notation2, notation1);
  EXPECT_EQ(notation1->SystemId(), u"gif.exe");
  // Keys follow declaration order.
  EXPECT_LT(element1->Key(), attribute1->Key());
  EXPECT_LT(attribute1->Key(), entity1->Key());
  EXPECT_LT(entity1->Key(), notation1->Key());
}

TEST(DtdModelTest, BadNamesAndLiteralsAreRefused) {
  TDtdModel model;
  TDtdElementDecl* element;
  TDtdAttributeDecl* attribute;
  TDtdEntityDecl* entity;
  TDtdNotationDecl* notation;
  const auto invalid = [](auto f) { ExpectRaises<EInvalid_Character_Err>(f, "Invalid character error."); };
  invalid([&] { model.AddElementDecl(u"1p", DTD_ANY_CONTENTTYPE, doInternalSubset, element); });
  invalid([&] {
    model.AddAttributeDecl(u"p q", u"a", u"", doInternalSubset, dcImplied, atCData, NoEnumeration, attribute);
  });
  invalid([&] {
    model.AddAttributeDecl(u"p", u"a b", u"", doInternalSubset, dcImplied, atCData, NoEnumeration, attribute);
  });
  invalid([&] { model.AddEntityDecl(u"-e", u"", doInternalSubset, u"", u"", u"", u"", entity); });
  invalid([&] { model.AddNotationDecl(u"n", u"{bad}", doInternalSubset, u"", notation); });
  invalid([&] { model.AddNotationDecl(u"n", u"", doInternalSubset, u"a\"b'c", notation); });
  // Nothing was left behind by the refusals, not even an empty attribute list.
  EXPECT_EQ(model.ElementDecls().GetLength(), 0);
  EXPECT_EQ(model.AttributeListCollections().GetLength(), 0);
  EXPECT_EQ(model.EntityDecls().GetLength(), 5);
  EXPECT_EQ(model.NotationDecls().GetLength(), 0);
  ExpectRaises<EAccessViolation>([] { TDtdElementDecl(nullptr, doInternalSubset, DTD_ANY_CONTENTTYPE, u"p"); },
                                 "Owner DTD subset model not specified.");
}

TEST(DtdModelTest, RemovingTheLastAttributeRemovesItsList) {
  TDtdModel model;
  TDtdAttributeDecl* attribute;
  model.AddAttributeDecl(u"p", u"a", u"", doInternalSubset, dcImplied, atCData, NoEnumeration, attribute);
  model.AddAttributeDecl(u"p", u"b", u"", doInternalSubset, dcImplied, atCData, NoEnumeration, attribute);
  EXPECT_TRUE(model.RemoveAttributeDecl(u"p", u"a"));
  ASSERT_NE(model.FindAttDeclCollection(u"p"), nullptr);
  EXPECT_EQ(model.FindAttDeclCollection(u"p")->GetLength(), 1);
  EXPECT_FALSE(model.RemoveAttributeDecl(u"p", u"a"));
  EXPECT_TRUE(model.RemoveAttributeDecl(u"p", u"b"));
  EXPECT_EQ(model.FindAttDeclCollection(u"p"), nullptr);
  EXPECT_FALSE(model.RemoveAttributeDecl(u"q", u"b"));
}

TEST(DtdModelTest, RemovalsOfEachKind) {
  TDtdModel model;
  TDtdElementDecl* element;
  TDtdEntityDecl* entity;
  TDtdNotationDecl* notation;
  model.AddElementDecl(u"p", DTD_ANY_CONTENTTYPE, doInternalSubset, element);
  model.AddEntityDecl(u"e", u"v", doInternalSubset, u"", u"", u"", u"", entity);
  model.AddNotationDecl(u"n", u"", doInternalSubset, u"n.exe", notation);
  EXPECT_TRUE(model.RemoveElementDecl(u"p"));
  EXPECT_FALSE(model.RemoveElementDecl(u"p"));
  EXPECT_TRUE(model.RemoveEntityDecl(u"e"));
  EXPECT_FALSE(model.RemoveEntityDecl(u"e"));
  EXPECT_TRUE(model.RemoveNotationDecl(u"n"));
  EXPECT_FALSE(model.RemoveNotationDecl(u"n"));
  // A removed name may be declared again.
  EXPECT_TRUE(model.AddElementDecl(u"p", DTD_EMPTY_CONTENTTYPE, doInternalSubset, element));
}

TEST(DtdModelTest, NamedObjectMapOrderAndReplacement) {
  TDtdModel model;
  TDtdNamedObjectMap map(&model);
  map.SetNamedItem(std::make_unique<TDtdElementDecl>(&model, doInternalSubset, DTD_ANY_CONTENTTYPE, u"a"));
  map.SetNamedItem(std::make_unique<TDtdElementDecl>(&model, doInternalSubset, DTD_ANY_CONTENTTYPE, u"b"));
  auto replacement = std::make_unique<TDtdElementDecl>(&model, doInternalSubset, DTD_EMPTY_CONTENTTYPE, u"a");
  TDtdObject* newA = replacement.get();
  std::unique_ptr<TDtdObject> oldA = map.SetNamedItem(std::move(replacement));
  ASSERT_NE(oldA, nullptr);
  EXPECT_EQ(map.GetLength(), 2);
  EXPECT_EQ(map.GetItem(0)->GetName(), u"b");  // the replacement goes to the end
  EXPECT_EQ(map.GetItem(1), newA);
  EXPECT_EQ(map.GetNamedItem(u"a"), newA);
  EXPECT_EQ(map.GetItem(2), nullptr);
  EXPECT_EQ(map.GetItem(-1), nullptr);
  ExpectRaises<ENot_Found_Err>([&] { map.RemoveNamedItem(u"c"); }, "Not found error.");
  EXPECT_EQ(map.RemoveNamedItem(u"b")->GetName(), u"b");
  EXPECT_EQ(map.GetLength(), 1);
}

TEST(DtdModelTest, ObjectListOperations) {
  TDtdModel model;
  TDtdElementDecl a(&model, doInternalSubset, DTD_ANY_CONTENTTYPE, u"a");
  TDtdElementDecl b(&model, doInternalSubset, DTD_ANY_CONTENTTYPE, u"b");
  TDtdElementDecl c(&model, doInternalSubset, DTD_ANY_CONTENTTYPE, u"c");
  TDtdObjectList list;
  list.Append(&a);
  list.InsertBefore(&c, nullptr);
  list.InsertBefore(&b, &c);
  EXPECT_EQ(list.GetLength(), 3);
  EXPECT_EQ(list.GetItem(1), &b);
  EXPECT_EQ(list.IndexOf(&c), 2);
  EXPECT_EQ(list.Remove(&a), &a);
  EXPECT_EQ(list.IndexOf(&a), -1);
  list.Delete(0);
  EXPECT_EQ(list.GetItem(0), &c);
  EXPECT_EQ(list.GetItem(1), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetLength(), 0);
}

TEST(DtdModelTest, EntityKindsAndReferencedNames) {
  TDtdModel model;
  TDtdEntityDecl* entity;
  model.AddEntityDecl(u"book", u"a &title; and &#65; &author;", doInternalSubset, u"", u"", u"", u"", entity);
  EXPECT_EQ(entity->GetEntityKind(), ekInternal);
  EXPECT_EQ(entity->ReferencedEntities(), Names({"title", "author"}));
  EXPECT_TRUE(entity->IsParsed());
  model.AddEntityDecl(u"ext", u"", doExternalSubset, u"file:///d/", u"", u"ext.xml", u"", entity);
  EXPECT_EQ(entity->GetEntityKind(), ekExternal);
  EXPECT_FALSE(entity->Resolved());
  model.AddEntityDecl(u"pic", u"", doInternalSubset, u"", u"gif", u"pic.gif", u"", entity);
  EXPECT_EQ(entity->GetEntityKind(), ekExternal);
  EXPECT_FALSE(entity->IsParsed());
}

TEST(DtdModelTest, AnEntityNamedAmpFromADocumentIsTakenLiterally) {
  TDtdModel model;
  TDtdEntityDecl entity(&model, doInternalSubset, u"", u"", u"", u"", u"&x;", u"amp");
  EXPECT_EQ(entity.GetEntityKind(), ekPredefined);
  EXPECT_EQ(entity.ReplacementText(), u"&x;");
  EXPECT_TRUE(entity.ReferencedEntities().empty());
  EXPECT_TRUE(entity.Resolved());
}

TEST(DtdModelTest, RecursionThroughReferences) {
  TDtdModel model;
  TDtdEntityDecl *a, *b, *c, *d, *self;
  model.AddEntityDecl(u"a", u"&b;", doInternalSubset, u"", u"", u"", u"", a);
  model.AddEntityDecl(u"b", u"x&a;", doInternalSubset, u"", u"", u"", u"", b);
  model.AddEntityDecl(u"c", u"&undeclared;&d;&d;", doInternalSubset, u"", u"", u"", u"", c);
  model.AddEntityDecl(u"d", u"plain", doInternalSubset, u"", u"", u"", u"", d);
  model.AddEntityDecl(u"self", u"&self;", doInternalSubset, u"", u"", u"", u"", self);
  EXPECT_FALSE(a->IsNotRecursive());
  EXPECT_FALSE(b->IsNotRecursive());
  EXPECT_TRUE(c->IsNotRecursive());  // an undeclared name ends the chain; d twice is no cycle
  EXPECT_TRUE(d->IsNotRecursive());
  EXPECT_FALSE(self->IsNotRecursive());
  const std::vector<WideString> visited = Names({"d"});
  EXPECT_FALSE(c->IsFreeOfRecursion(&visited));  // d is on the caller's path
}

// Ten references to the next entity at each of 30 levels: 10^30 paths, but each
// entity's references are followed once.
TEST(DtdModelTest, RecursionCheckIsLinearOnLaughs) {
  TDtdModel model;
  TDtdEntityDecl* entity;
  WideString next = u"lol0";
  model.AddEntityDecl(next, u"lol", doInternalSubset, u"", u"", u"", u"", entity);
  for (int i = 1; i <= 30; ++i) {
    WideString value;
    for (int k = 0; k < 10; ++k) value += u"&" + next + u";";
    next = u"lol" + WideNumber(i);
    model.AddEntityDecl(next, value, doInternalSubset, u"", u"", u"", u"", entity);
  }
  EXPECT_TRUE(entity->IsNotRecursive());
  // A chain 100,000 long is walked without recursion.
  for (int i = 0; i < 100000; ++i) {
    model.AddEntityDecl(u"c" + WideNumber(i), u"&c" + WideNumber(i + 1) + u";", doInternalSubset, u"", u"", u"", u"",
                        entity);
  }
  EXPECT_TRUE(model.FindEntityDecl(u"c0")->IsNotRecursive());
}

TEST(DtdModelTest, ResolvingExternalEntitiesOnce) {
  TDtdModel model;
  TDtdEntityDecl *external, *unparsed, *internal;
  model.AddEntityDecl(u"ext", u"", doExternalSubset, u"file:///d/", u"", u"ext.xml", u"-//X//EN", external);
  model.AddEntityDecl(u"pic", u"", doInternalSubset, u"", u"gif", u"pic.gif", u"", unparsed);
  model.AddEntityDecl(u"int", u"text", doInternalSubset, u"", u"", u"", u"", internal);
  int calls = 0;
  TXmlErrorKind answer = 0;
  const TDtdEntityResolver resolver = [&](TDtdDeclOrigin origin, WideStringView baseUri, WideStringView systemId,
                                          WideStringView publicId, WideString& text) {
    ++calls;
    EXPECT_EQ(origin, doExternalSubset);
    EXPECT_EQ(baseUri, u"file:///d/");
    EXPECT_EQ(systemId, u"ext.xml");
    EXPECT_EQ(publicId, u"-//X//EN");
    text = u"loaded &int;";
    return answer;
  };
  EXPECT_EQ(unparsed->Resolve(resolver), 87);
  EXPECT_EQ(internal->Resolve(resolver), 0);
  answer = 40;  // a failed load leaves the entity unresolved
  EXPECT_EQ(external->Resolve(resolver), 40);
  EXPECT_FALSE(external->Resolved());
  answer = 0;
  EXPECT_EQ(external->Resolve(resolver), 0);
  EXPECT_TRUE(external->Resolved());
  EXPECT_EQ(external->ReplacementText(), u"loaded &int;");
  EXPECT_EQ(external->ReferencedEntities(), Names({"int"}));
  EXPECT_EQ(external->Resolve(resolver), 0);
  EXPECT_EQ(calls, 2);
}

TEST(DtdModelTest, ContentModelStructureRules) {
  TDtdModel model;
  TDtdElementDecl *decl, *other;
  model.AddElementDecl(u"p", DTD_ELEMENT_CONTENTTYPE, doInternalSubset, decl);
  model.AddElementDecl(u"q", DTD_EMPTY_CONTENTTYPE, doInternalSubset, other);
  TDtdContentModel* sequence = decl->CreateContentModel(u"ignored", cmtSequence);
  EXPECT_EQ(sequence->GetName(), u"");
  EXPECT_EQ(sequence->AllowedSubModels(),
            ContentModelTypeBit(cmtChoice) | ContentModelTypeBit(cmtName) | ContentModelTypeBit(cmtSequence));
  TDtdContentModel* a = decl->CreateContentModel(u"a", cmtName);
  EXPECT_EQ(a->GetName(), u"a");
  EXPECT_EQ(a->AllowedSubModels(), 0);
  EXPECT_EQ(a->Frequency(), cmfRequired);
  sequence->AppendSubModel(a);
  ExpectRaises<EInuse_Err>([&] { sequence->AppendSubModel(a); }, "Content model in use error.");
  TDtdContentModel* b = decl->CreateContentModel(u"b", cmtName);
  ExpectRaises<ENot_Found_Err>([&] { sequence->RemoveSubModel(b); }, "Node not found error.");
  sequence->InsertSubModelBefore(b, a);
  EXPECT_EQ(sequence->SubModel(0), b);
  EXPECT_EQ(sequence->RemoveSubModel(b), b);
  EXPECT_FALSE(b->InUse());

  // The top model: a group of this model, not in use.
  ExpectRaises<ENot_Supported_Err>([&] { decl->SetContentModel(b); }, "Not supported error.");
  TDtdContentModel* inner = sequence->AppendSubModel(decl->CreateContentModel(u"", cmtChoice));
  ExpectRaises<EInuse_Err>([&] { decl->SetContentModel(inner); }, "Content model in use error.");
  ExpectRaises<ENot_Supported_Err>([&] { other->SetContentModel(sequence); }, "Not supported error.");
  TDtdModel foreign;
  TDtdElementDecl* foreignDecl;
  foreign.AddElementDecl(u"p", DTD_ELEMENT_CONTENTTYPE, doInternalSubset, foreignDecl);
  ExpectRaises<ENot_Supported_Err>([&] { foreignDecl->SetContentModel(sequence); },
                                   "Not supported error: Wrong owner element declaration.");
  EXPECT_EQ(decl->SetContentModel(sequence), nullptr);
  EXPECT_EQ(decl->SetContentModel(sequence), sequence);  // already the top model
  EXPECT_TRUE(sequence->InUse());
  TDtdContentModel* choice = decl->CreateContentModel(u"", cmtChoice);
  EXPECT_EQ(decl->SetContentModel(choice), sequence);
  EXPECT_FALSE(sequence->InUse());

  // Freeing: refused while in use, depth first otherwise.
  ExpectRaises<EInuse_Err>([&] { decl->FreeContentModel(a); }, "Content model in use error.");
  EXPECT_EQ(decl->CreatedContentModelCount(), 5);
  decl->FreeContentModel(sequence);  // with a and the inner choice
  EXPECT_EQ(sequence, nullptr);
  EXPECT_EQ(decl->CreatedContentModelCount(), 2);  // b and the top choice
  decl->FreeAllContentModels();
  EXPECT_EQ(decl->ContentModel(), nullptr);
  EXPECT_EQ(decl->CreatedContentModelCount(), 0);
}

}  // namespace
