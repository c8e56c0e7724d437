#include <gtest/gtest.h>

#include "xml/dom/DomTestSupport.h"

namespace {

class DomNodeListsTest : public ::testing::Test, protected TDomFixture {};

TEST_F(DomNodeListsTest, ElementListsAreLiveAndSkipTheStartNode) {
  TDomElement* root = Element(u"r");
  TDomElement* a = Child(root, u"a");
  TDomElement* a1 = Child(a, u"x");
  TDomElement* b = Child(root, u"b");
  Child(b, u"x");
  TDomElementsNodeList* all = root->GetElementsByTagName(u"*");
  EXPECT_EQ(all, root->GetElementsByTagName(u"*"));  // one list per query
  EXPECT_EQ(all->GetLength(), 4);
  EXPECT_EQ(all->GetItem(0), a);
  EXPECT_EQ(all->GetItem(1), a1);
  EXPECT_EQ(all->GetItem(2), b);
  EXPECT_EQ(all->GetItem(-1), nullptr);
  EXPECT_EQ(all->GetItem(4), nullptr);
  EXPECT_EQ(all->IndexOf(b), 2);
  EXPECT_EQ(all->IndexOf(root), -1);
  TDomElementsNodeList* xs = root->GetElementsByTagName(u"x");
  EXPECT_EQ(xs->GetLength(), 2);
  a->RemoveChild(a1);
  EXPECT_EQ(xs->GetLength(), 1);
  EXPECT_EQ(all->GetLength(), 3);
  EXPECT_EQ(xs->IndexOf(a1), -1);
  EXPECT_EQ(Document->GetElementsByTagName(u"x")->GetLength(), 0);  // r is not in the document
}

TEST_F(DomNodeListsTest, ChildNodeListIsAView) {
  TDomElement* p = Element(u"p");
  TDomNodeList* children = p->GetChildNodes();
  EXPECT_EQ(children->GetLength(), 0);
  TDomText* t = Text(u"t");
  p->AppendChild(t);
  EXPECT_EQ(children->GetLength(), 1);
  EXPECT_EQ(children->GetItem(0), t);
  EXPECT_EQ(children->IndexOf(t), 0);
  EXPECT_EQ(children->GetItem(1), nullptr);
  EXPECT_EQ(Implementation.GetDocuments()->GetItem(0), Document);
  EXPECT_EQ(Implementation.GetDocuments()->GetLength(), 1);
}

TEST_F(DomNodeListsTest, NamedNodeMapChecks) {
  TDomElement* e = Element(u"e");
  TDomNamedNodeMap* map = e->GetAttributes();
  auto* attr = NewDomNode<TDomAttr>(*Document, true, u"a");
  int events = 0;
  Document->OnAttrModified = [&](TObject*, TDomNode*, TDomAttrChange, TDomAttr*) { ++events; };
  EXPECT_EQ(map->SetNamedItem(attr), nullptr);
  EXPECT_EQ(map->SetNamedItem(attr), nullptr);  // the same node: nothing changes
  EXPECT_EQ(events, 0);                         // the map itself announces nothing
  EXPECT_EQ(map->GetNamedItem(u"a"), attr);
  ExpectRaises<EHierarchy_Request_Err>([&] { map->SetNamedItem(Text(u"t")); }, "Hierarchy request error.");
  ExpectRaises<ENamespace_Err>([&] { map->SetNamedItemNS(attr); }, "Namespace error.");
  ExpectRaises<ENot_Found_Err>([&] { map->RemoveNamedItem(u"b"); }, "Node not found error.");
  e->SetReadOnly(true);
  ExpectRaises<ENo_Modification_Allowed_Err>([&] { map->RemoveNamedItem(u"a"); }, "No modification allowed error.");
  e->SetReadOnly(false);
  EXPECT_EQ(map->RemoveNamedItem(u"a"), attr);
  EXPECT_EQ(attr->OwnerMap(), nullptr);
  TDomElement* parent = Element(u"p");
  TDomElement* child = Child(parent, u"c");
  std::vector<TCustomOwnedNode*> items;
  TDomNamedNodeMap loose(nullptr, false, NodeTypes({ntElement}), &items);
  ExpectRaises<EInuse_Err>([&] { loose.SetNamedItem(child); }, "Inuse node error.");
}

bool IsText(const TDomCustomNode& node) { return dynamic_cast<const TDomText*>(&node) != nullptr; }

TEST(DomOwnerNamedNodeMapTest, OwnsSortedNamedNodes) {
  TDomOwnerNamedNodeMap map(IsText);
  // Texts of no document: the map owns them.
  struct TNamed : TDomText {
    TNamed(WideStringView name) : TDomText(nullptr), Name(name) {}
    WideString GetNodeName() const override { return Name; }
    WideString Name;
  };
  EXPECT_EQ(map.Add(std::make_unique<TNamed>(u"b")), 0);
  EXPECT_EQ(map.Add(std::make_unique<TNamed>(u"a")), 0);
  EXPECT_EQ(map.Add(std::make_unique<TNamed>(u"c")), 2);
  ExpectRaises<EStringListError>([&] { map.Add(std::make_unique<TNamed>(u"a")); },
                                 "String list does not allow duplicates");
  ExpectRaises<EHierarchy_Request_Err>([&] { map.Add(std::make_unique<TDomComment>(nullptr)); },
                                       "Hierarchy request error.");
  EXPECT_EQ(map.GetLength(), 3);
  EXPECT_EQ(map.GetNamedItem(u"b"), map.GetItem(1));
  EXPECT_TRUE(map.HasNamedItem(u"c"));
  EXPECT_EQ(map.IndexOfNamedItem(u"zz"), -1);
  TDomCustomNode* b = map.GetItem(1);
  std::unique_ptr<TDomCustomNode> extracted = map.Extract(b);
  EXPECT_EQ(extracted.get(), b);
  ExpectRaises<EStringListError>([&] { map.Extract(b); }, "Item not found");
  EXPECT_EQ(map.RemoveNamedItem(u"c"), 1);
  EXPECT_EQ(map.RemoveNamedItem(u"c"), -1);
  ExpectRaises<EStringListError>([&] { map.Delete(5); }, "List index out of bounds (5)");
  map.Clear();
  EXPECT_EQ(map.GetLength(), 0);
}

}  // namespace
