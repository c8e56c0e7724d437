#include <gtest/gtest.h>

#include "xml/dom/DomTestSupport.h"

namespace {

// r( a( t1 b( t2 ) ) t3 c )
class DomTraversalTest : public ::testing::Test, protected TDomFixture {
protected:
  DomTraversalTest() {
    Root = Element(u"r");
    Document->AppendChild(Root);
    A = Child(Root, u"a");
    A->AppendChild(Text(u"t1"));
    B = Child(A, u"b");
    B->AppendChild(Text(u"t2"));
    Root->AppendChild(Text(u"t3"));
    C = Child(Root, u"c");
  }

  static std::string Names(const std::vector<TDomNode*>& nodes) {
    std::string out;
    for (TDomNode* n : nodes)
      out += (out.empty() ? "" : " ") + Narrow(n->GetNodeType() == ntText ? n->GetNodeValue() : n->GetNodeName());
    return out;
  }

  TDomElement *Root, *A, *B, *C;
};

struct TNameFilter : TDomNodeFilter {
  WideString Name;
  TDomFilterResult Answer;
  TNameFilter(WideStringView name, TDomFilterResult answer) : Name(name), Answer(answer) {}
  TDomFilterResult AcceptNode(TDomNode* node) override { return node->GetNodeName() == Name ? Answer : frAccept; }
};

TEST_F(DomTraversalTest, WalkerShowsTextsAtEveryDepth) {
  TDomTreeWalker* walker = Document->CreateTreeWalker(Root, NodeTypes({ntText}), true, nullptr);
  std::vector<TDomNode*> seen;
  while (TDomNode* n = walker->NextNode()) seen.push_back(n);
  EXPECT_EQ(Names(seen), "t1 t2 t3");
  std::vector<TDomNode*> back;
  while (TDomNode* n = walker->PreviousNode()) back.push_back(n);
  EXPECT_EQ(Names(back), "t2 t1");  // the root itself is not shown
}

TEST_F(DomTraversalTest, RejectHidesTheSubtreeSkipShowsTheChildren) {
  TNameFilter reject(u"a", frReject), skip(u"a", frSkip);
  std::vector<TDomNode*> seen;
  TDomTreeWalker* rejecting = Document->CreateTreeWalker(Root, ShowAll, true, &reject);
  while (TDomNode* n = rejecting->NextNode()) seen.push_back(n);
  EXPECT_EQ(Names(seen), "t3 c");
  seen.clear();
  TDomTreeWalker* skipping = Document->CreateTreeWalker(Root, ShowAll, true, &skip);
  while (TDomNode* n = skipping->NextNode()) seen.push_back(n);
  EXPECT_EQ(Names(seen), "t1 b t2 t3 c");
  EXPECT_EQ(skipping->FindFirstChild(Root), A->GetFirstChild());
  EXPECT_EQ(skipping->FindParentNode(B), Root);  // a is skipped on the way up
}

TEST_F(DomTraversalTest, WalkerMovesAndKeepsItsPlaceWhenNothingIsFound) {
  TDomTreeWalker* walker = Document->CreateTreeWalker(Root, NodeTypes({ntElement}), true, nullptr);
  EXPECT_EQ(walker->FirstChild(), A);
  EXPECT_EQ(walker->NextSibling(), C);
  EXPECT_EQ(walker->NextSibling(), nullptr);
  EXPECT_EQ(walker->CurrentNode(), C);
  EXPECT_EQ(walker->PreviousSibling(), A);
  EXPECT_EQ(walker->LastChild(), B);
  EXPECT_EQ(walker->ParentNode(), A);
  EXPECT_EQ(walker->ParentNode(), Root);
  EXPECT_EQ(walker->ParentNode(), nullptr);
  ExpectRaises<ENot_Supported_Err>([&] { walker->SetCurrentNode(nullptr); }, "Not supported error.");
  ExpectRaises<ENot_Supported_Err>([&] { TDomTreeWalker bad(nullptr, ShowAll, true, nullptr); },
                                   "Not supported error.");
}

TEST_F(DomTraversalTest, IteratorStartsWithTheRootAndRunsBothWays) {
  TDomNodeIterator* iterator = Document->CreateNodeIterator(Root, ShowAll, true, nullptr);
  std::vector<TDomNode*> seen;
  while (TDomNode* n = iterator->NextNode()) seen.push_back(n);
  EXPECT_EQ(Names(seen), "r a t1 b t2 t3 c");
  std::vector<TDomNode*> back;
  while (TDomNode* n = iterator->PreviousNode()) back.push_back(n);
  EXPECT_EQ(Names(back), "c t3 t2 b t1 a r");
  TDomNodeIterator* inner = Document->CreateNodeIterator(A, NodeTypes({ntElement}), true, nullptr);
  seen.clear();
  while (TDomNode* n = inner->NextNode()) seen.push_back(n);
  EXPECT_EQ(Names(seen), "a b");  // stops at the end of the root's subtree
}

TEST_F(DomTraversalTest, IteratorFollowsRemovalsAndDetach) {
  TDomNodeIterator* iterator = Document->CreateNodeIterator(Root, ShowAll, true, nullptr);
  iterator->NextNode();  // r
  iterator->NextNode();  // a
  iterator->NextNode();  // t1
  EXPECT_EQ(iterator->NextNode(), B);
  A->RemoveChild(B);  // the reference node goes: t1 stands in, and is not met again
  EXPECT_EQ(iterator->ReferenceNode(), A->GetFirstChild());
  EXPECT_EQ(Narrow(iterator->NextNode()->GetNodeValue()), "t3");
  Root->Clear();  // clearing the root's children: the root is the reference now
  EXPECT_EQ(iterator->ReferenceNode(), Root);
  EXPECT_EQ(iterator->NextNode(), nullptr);
  EXPECT_EQ(iterator->PreviousNode(), Root);

  // Normalize takes merged text nodes out of an iterator's way too.
  TDomText* first = Text(u"x");
  TDomText* second = Text(u"y");
  Root->AppendChild(first);
  Root->AppendChild(second);
  TDomNodeIterator* texts = Document->CreateNodeIterator(Root, NodeTypes({ntText}), true, nullptr);
  EXPECT_EQ(texts->NextNode(), first);
  EXPECT_EQ(texts->NextNode(), second);
  Root->Normalize();
  EXPECT_EQ(texts->ReferenceNode(), first);
  iterator->Detach();
  ExpectRaises<EInvalid_State_Err>([&] { iterator->NextNode(); }, "Invalid state error.");
  Document->ClearInvalidNodeIterators();
}

TEST_F(DomTraversalTest, WalkersBelongToTheirDocument) {
  TDomDocument* other = NewDomDocument<TDomDocument>(Implementation);
  TDomTreeWalker* walker = other->CreateTreeWalker(other, ShowAll, true, nullptr);
  ExpectRaises<EWrong_Document_Err>([&] { Document->FreeTreeWalker(walker); }, "Wrong document error.");
  other->FreeTreeWalker(walker);
  EXPECT_EQ(walker, nullptr);
  Document->FreeTreeWalker(walker);  // none: nothing happens
}

}  // namespace
