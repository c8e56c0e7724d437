#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include <string>
#include <vector>

#include "xml/dom/TreeUtils.h"

namespace {

// A node that names itself, counts live instances and logs the hooks it sees.
class TTestNode : public TCustomOwnedNode {
public:
  TTestNode(std::string name, std::vector<std::string>* log = nullptr) : Name(std::move(name)), FLog(log) { ++Alive; }
  ~TTestNode() override { --Alive; }

  std::string Name;
  static inline int Alive = 0;

protected:
  void DoBeforeAddition(TCustomOwnedNode* n) override { Log("before-add ", n); }
  void DoAfterAddition(TCustomOwnedNode* n) override { Log("after-add ", n); }
  void DoBeforeRemoval(TCustomOwnedNode* n) override { Log("before-remove ", n); }
  void DoAfterRemoval(TCustomOwnedNode* n) override { Log("after-remove ", n); }
  void DoBeforeClear() override { Log("before-clear ", this); }
  void DoAfterClear() override { Log("after-clear ", this); }

private:
  void Log(const char* what, TCustomOwnedNode* n) {
    if (FLog) FLog->push_back(Name + ": " + what + static_cast<TTestNode*>(n)->Name);
  }
  std::vector<std::string>* FLog;
};

std::string ChildNames(const TCustomOwnedNode& parent) {
  std::string names;
  for (TCustomOwnedNode* c = parent.GetFirstChild(); c; c = c->GetNextSibling())
    names += static_cast<TTestNode*>(c)->Name;
  // The links backwards must tell the same story.
  std::string backwards;
  for (TCustomOwnedNode* c = parent.GetLastChild(); c; c = c->GetPreviousSibling())
    backwards.insert(0, static_cast<TTestNode*>(c)->Name);
  EXPECT_EQ(names, backwards);
  EXPECT_EQ(int32_t(names.size()), parent.GetChildCount());
  return names;
}

class TreeUtilsTest : public ::testing::Test {
protected:
  TTestNode* Make(const char* name) { return CreateOwnedObject<TTestNode>(Owner, name, &Log); }
  void TearDown() override {
    Owner.Clear();
    EXPECT_EQ(TTestNode::Alive, 0);
  }

  std::vector<std::string> Log;
  TCustomOwnedObject Owner;  // stands for the document: owns every node
};

TEST_F(TreeUtilsTest, AppendInsertAndRemoveKeepSiblingLinks) {
  TTestNode* p = Make("p");
  TTestNode *a = Make("a"), *b = Make("b"), *c = Make("c");
  p->AppendChild(a);
  p->AppendChild(c);
  EXPECT_EQ(p->InsertBefore(b, c), b);
  EXPECT_EQ(ChildNames(*p), "abc");
  EXPECT_EQ(p->IndexOfChild(c), 2);
  EXPECT_EQ(p->GetChild(1), b);
  EXPECT_EQ(p->RemoveChild(b), b);
  EXPECT_EQ(ChildNames(*p), "ac");
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(b->Owner(), &Owner);  // removal leaves ownership alone
  EXPECT_EQ(p->IndexOfChild(b), -1);
  p->InsertBefore(b, nullptr);
  EXPECT_EQ(ChildNames(*p), "acb");
  EXPECT_EQ(Log, (std::vector<std::string>{"p: before-add a", "p: after-add a", "p: before-add c", "p: after-add c",
                                           "p: before-add b", "p: after-add b", "p: before-remove b",
                                           "p: after-remove b", "p: before-add b", "p: after-add b"}));
}

TEST_F(TreeUtilsTest, AppendingANodeWithAParentMovesItWithAdditionHooksOnly) {
  TTestNode *p = Make("p"), *q = Make("q"), *a = Make("a"), *b = Make("b");
  p->AppendChild(a);
  p->AppendChild(b);
  Log.clear();
  q->AppendChild(a);
  EXPECT_EQ(ChildNames(*p), "b");
  EXPECT_EQ(ChildNames(*q), "a");
  EXPECT_EQ(Log, (std::vector<std::string>{"q: before-add a", "q: after-add a"}));
  // Within one parent too.
  p->AppendChild(a);
  p->AppendChild(b);
  EXPECT_EQ(ChildNames(*p), "ab");
}

TEST_F(TreeUtilsTest, ReplaceChild) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b"), *c = Make("c"), *x = Make("x"), *q = Make("q");
  p->AppendChild(a);
  p->AppendChild(b);
  p->AppendChild(c);
  q->AppendChild(x);
  Log.clear();
  EXPECT_EQ(p->ReplaceChild(b, b), b);  // by itself: nothing happens
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(p->ReplaceChild(x, b), b);
  EXPECT_EQ(ChildNames(*p), "axc");
  EXPECT_EQ(ChildNames(*q), "");
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(Log, (std::vector<std::string>{"p: before-remove x", "p: after-remove x", "p: before-remove b",
                                           "p: after-remove b", "p: before-add x", "p: after-add x"}));
  // The new child is the old child's next sibling: it takes the old one's place.
  EXPECT_EQ(p->ReplaceChild(c, x), x);
  EXPECT_EQ(ChildNames(*p), "ac");
}

TEST_F(TreeUtilsTest, ChecksRefuseBeforeAnythingChanges) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b"), *loose = Make("l");
  p->AppendChild(a);
  a->AppendChild(b);
  TCustomOwnedObject otherOwner;
  TTestNode* foreign = CreateOwnedObject<TTestNode>(otherOwner, "f", &Log);
  Log.clear();

  ExpectRaises<EHierarchyRequestError>([&] { p->InsertBefore(a, a); }, "Hierarchy Request Error");
  ExpectRaises<EHierarchyRequestError>([&] { b->AppendChild(p); }, "Hierarchy Request Error");
  ExpectRaises<EHierarchyRequestError>([&] { p->AppendChild(p); }, "Hierarchy Request Error");
  ExpectRaises<EWrongOwnerError>([&] { p->AppendChild(foreign); }, "Wrong Owner Error");
  ExpectRaises<ENotAssignedError>([&] { p->AppendChild(nullptr); }, "Parameter Node Not Assigned Error");
  ExpectRaises<ENotFoundError>([&] { p->RemoveChild(b); }, "Node Not Found Error.");
  ExpectRaises<ENotFoundError>([&] { p->InsertBefore(loose, b); }, "Node Not Found Error.");
  ExpectRaises<ENotFoundError>([&] { p->ReplaceChild(loose, b); }, "Node Not Found Error.");
  a->SetReadOnly(true);
  ExpectRaises<ENoModificationAllowedError>([&] { a->AppendChild(loose); }, "No Modification Allowed Error");
  ExpectRaises<ENoModificationAllowedError>([&] { a->RemoveChild(b); }, "No Modification Allowed Error");
  ExpectRaises<ENoModificationAllowedError>([&] { a->Clear(); }, "No Modification Allowed Error");
  // A child of a read-only node may not be taken away by an addition elsewhere.
  ExpectRaises<ENoModificationAllowedError>([&] { p->AppendChild(b); }, "No Modification Allowed Error");
  // But p itself may still lose a.
  a->SetReadOnly(false);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(ChildNames(*p), "a");
  EXPECT_EQ(ChildNames(*a), "b");
  EXPECT_TRUE(b->HasAncestor(p));
  EXPECT_FALSE(p->HasAncestor(b));
  otherOwner.Clear();
}

TEST_F(TreeUtilsTest, ANodeMayOwnItsChildren) {
  TTestNode* p = Make("p");
  TTestNode* own = CreateOwnedObject<TTestNode>(*p, "o", &Log);
  p->AppendChild(own);  // owned by the new parent itself
  EXPECT_EQ(ChildNames(*p), "o");
  p->Free();
  EXPECT_EQ(TTestNode::Alive, 0);
  EXPECT_EQ(Owner.OwnedObjectCount(), 0);
}

TEST_F(TreeUtilsTest, FreeingANodeFreesItsChildrenAndWhatItOwnsOnce) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b");
  p->AppendChild(a);
  a->AppendChild(b);
  // p also owns a node that is a child of one of its descendants.
  TTestNode* ownedChild = Make("c");
  b->AppendChild(ownedChild);
  p->TakeOwnership(ownedChild);
  CreateOwnedObject<TTestNode>(*p, "d", &Log);
  TTestNode* survivor = Make("s");
  ASSERT_EQ(TTestNode::Alive, 6);
  p->Free();
  EXPECT_EQ(TTestNode::Alive, 1);
  EXPECT_EQ(Owner.OwnedObjectCount(), 1);
  EXPECT_EQ(Owner.GetOwnedObject(0), survivor);
  ExpectRaises<EListError>([&] { Owner.GetOwnedObject(1); }, "List index out of bounds (1)");
  ExpectRaises<EListError>([&] { survivor->GetChild(0); }, "List index out of bounds (0)");
}

TEST_F(TreeUtilsTest, FreeingAChildUnlinksItFromItsParent) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b");
  p->AppendChild(a);
  p->AppendChild(b);
  a->Free();
  EXPECT_EQ(ChildNames(*p), "b");
  EXPECT_EQ(b->GetPreviousSibling(), nullptr);
}

TEST_F(TreeUtilsTest, ClearFreesChildrenAndOwnedObjectsBetweenItsHooks) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b");
  p->AppendChild(a);
  a->AppendChild(b);
  CreateOwnedObject<TTestNode>(*p, "o", &Log);
  Log.clear();
  p->Clear();
  EXPECT_EQ(ChildNames(*p), "");
  EXPECT_EQ(p->OwnedObjectCount(), 0);
  EXPECT_EQ(TTestNode::Alive, 1);
  EXPECT_EQ(Log, (std::vector<std::string>{"p: before-clear p", "p: after-clear p"}));
}

TEST_F(TreeUtilsTest, OwnershipMovesWithTakeOwnershipAndAdoptObject) {
  TTestNode *p = Make("p"), *a = Make("a"), *b = Make("b"), *c = Make("c"), *target = Make("t");
  p->AppendChild(a);
  a->AppendChild(b);
  a->AppendChild(c);
  Log.clear();
  target->AdoptObject(a);
  EXPECT_EQ(Log, (std::vector<std::string>{"p: before-remove a", "p: after-remove a"}));
  EXPECT_EQ(a->GetParent(), nullptr);
  EXPECT_EQ(ChildNames(*a), "bc");  // the subtree stays together
  for (TTestNode* n : {a, b, c}) EXPECT_EQ(n->Owner(), target) << n->Name;
  EXPECT_EQ(target->OwnedObjectCount(), 3);
  EXPECT_EQ(target->GetOwnedObject(0), a);  // depth first, in document order
  EXPECT_EQ(target->GetOwnedObject(2), c);

  EXPECT_TRUE(p->TakeOwnership(c));
  EXPECT_EQ(c->Owner(), p);
  EXPECT_EQ(target->OwnedObjectCount(), 2);
  EXPECT_TRUE(p->TakeOwnership(c));  // already owned: nothing changes
  EXPECT_EQ(p->OwnedObjectCount(), 1);
  auto loose = std::make_unique<TTestNode>("x");
  EXPECT_FALSE(p->TakeOwnership(loose.get()));  // held by its creator
  EXPECT_EQ(loose->Owner(), nullptr);
  EXPECT_EQ(p->AddOwnedObject(std::move(loose))->Owner(), p);

  // The removed ownership hands the object back, alive.
  std::unique_ptr<TCustomOwnedObject> back = p->RemoveOwnedObject(c);
  EXPECT_EQ(c->Owner(), nullptr);
  EXPECT_EQ(c->GetParent(), a);
  back.reset();  // freeing it directly unlinks it from its parent
  EXPECT_EQ(ChildNames(*a), "b");
}

TEST_F(TreeUtilsTest, AnOwnerlessChildStaysWithItsHolder) {
  auto parent = std::make_unique<TTestNode>("p");
  auto child = std::make_unique<TTestNode>("c");
  auto grandchild = std::make_unique<TTestNode>("g");
  parent->AppendChild(child.get());
  child->AppendChild(grandchild.get());
  parent.reset();
  EXPECT_EQ(child->GetParent(), nullptr);
  EXPECT_EQ(ChildNames(*child), "g");
  EXPECT_EQ(TTestNode::Alive, 2);
}

// A subclass raises its own family instead of the tree's.
class TOwnErrorNode : public TCustomOwnedNode {
public:
  [[noreturn]] void RaiseError(TOwnedTreeError error) const override {
    throw EConvertError(error == TOwnedTreeError::HierarchyRequest ? "own hierarchy" : "own other");
  }
};

TEST(TreeUtilsRaiseErrorTest, ASubclassDecidesWhatIsRaised) {
  TCustomOwnedObject owner;
  auto* node = CreateOwnedObject<TOwnErrorNode>(owner);
  ExpectRaises<EConvertError>([&] { node->AppendChild(node); }, "own hierarchy");
  ExpectRaises<EConvertError>([&] { node->RemoveChild(nullptr); }, "own other");
}

// 100,000 nested nodes are built, searched, adopted and freed with the stack of a
// single frame each way.
TEST(TreeUtilsDeepTreeTest, DeepNestingIsBuiltWalkedAndFreedWithoutRecursion) {
  constexpr int Depth = 100000;
  for (const bool freeTopFirst : {false, true}) {
    SCOPED_TRACE(freeTopFirst ? "top node freed directly" : "owner frees from the last created");
    {
      TCustomOwnedObject owner;
      TTestNode* top = CreateOwnedObject<TTestNode>(owner, "top");
      TTestNode* deepest = top;
      for (int i = 1; i < Depth; ++i)
        deepest = static_cast<TTestNode*>(deepest->AppendChild(CreateOwnedObject<TTestNode>(owner, "n")));
      ASSERT_EQ(TTestNode::Alive, Depth);
      EXPECT_TRUE(deepest->HasAncestor(top));
      int levels = 0;
      for (TCustomOwnedNode* n = top; n; n = n->GetFirstChild()) ++levels;
      EXPECT_EQ(levels, Depth);
      EXPECT_FALSE(top->AppendChild(top->GetFirstChild()) == nullptr);  // a move within the parent
      ExpectRaises<EHierarchyRequestError>([&] { deepest->AppendChild(top); }, "Hierarchy Request Error");

      TTestNode* adopter = CreateOwnedObject<TTestNode>(owner, "adopter");
      adopter->AdoptObject(top);
      EXPECT_EQ(adopter->OwnedObjectCount(), Depth);
      EXPECT_EQ(deepest->Owner(), adopter);
      if (freeTopFirst) {
        top->Free();
        EXPECT_EQ(TTestNode::Alive, 1);
      }
    }
    EXPECT_EQ(TTestNode::Alive, 0);
  }
}

}  // namespace
