// Components: the owner frees what it owns (last created first), a component
// freed alone leaves its owner, names are unique per owner, and free
// notifications reach those who asked.
#include "framework/component.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fw {
namespace {

std::vector<std::string>* g_log = nullptr;

class TLogged : public TComponent {
 public:
  TLogged(TComponent* owner, std::string id) : TComponent(owner), id_(std::move(id)) {
    SetName(id_);
  }
  ~TLogged() override {
    if (g_log) g_log->push_back("free " + id_);
  }
  TComponent* watched = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (g_log) {
      g_log->push_back(id_ + (op == TOperation::opInsert ? " sees insert " : " sees remove ") +
                       c->Name());
    }
    if (op == TOperation::opRemove && c == watched) watched = nullptr;
  }

 private:
  std::string id_;
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log = &log; }
  void TearDown() override { g_log = nullptr; }
  std::vector<std::string> log;
};

TEST_F(ComponentTest, OwnerFreesOwnedComponentsLastFirst) {
  auto owner = std::make_unique<TLogged>(nullptr, "form");
  new TLogged(owner.get(), "a");
  new TLogged(owner.get(), "b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  log.clear();
  owner.reset();
  std::vector<std::string> frees;
  for (const auto& line : log) {
    if (line.rfind("free ", 0) == 0) frees.push_back(line);
  }
  EXPECT_EQ(frees, (std::vector<std::string>{"free form", "free b", "free a"}));
}

TEST_F(ComponentTest, FreedComponentLeavesOwnerAndSiblingsHear) {
  TLogged owner(nullptr, "form");
  auto* a = new TLogged(&owner, "a");
  auto* b = new TLogged(&owner, "b");
  log.clear();
  a->Free();
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(log, (std::vector<std::string>{"free a", "form sees remove a", "b sees remove a"}));
}

TEST_F(ComponentTest, NamesAreUniquePerOwnerAndFoundWithoutCase) {
  TLogged owner(nullptr, "form");
  auto* a = new TLogged(&owner, "a");
  a->SetName("edtNumLinha");
  EXPECT_EQ(owner.FindComponent("EDTNUMLINHA"), a);
  auto* b = new TLogged(&owner, "b");
  EXPECT_THROW(b->SetName("edtnumlinha"), Exception);
  EXPECT_THROW(b->SetName("1abc"), Exception);
  EXPECT_THROW(b->SetName("a b"), Exception);
  EXPECT_EQ(b->Name(), "b");
  b->SetName("btOK");
  EXPECT_EQ(owner.FindComponent("btok"), b);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST_F(ComponentTest, FreeNotificationReachesAComponentOfAnotherOwner) {
  TLogged form1(nullptr, "form1");
  TLogged form2(nullptr, "form2");
  auto* skinner = new TLogged(&form1, "skinner");
  auto* control = new TLogged(&form2, "control");
  skinner->watched = control;
  skinner->FreeNotification(control);
  control->Free();
  EXPECT_EQ(skinner->watched, nullptr);
  // The watcher going first leaves no dangling entry behind.
  auto* other = new TLogged(&form2, "other");
  skinner->FreeNotification(other);
  skinner->Free();
  other->Free();
  SUCCEED();
}

// Frees a sibling and adds a new one when it hears of a component joining,
// as a skinner created during a walk over its owner's components does.
class TMeddler : public TLogged {
 public:
  using TLogged::TLogged;
  TComponent* to_free = nullptr;
  bool add = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TLogged::Notification(c, op);
    if (op != TOperation::opInsert || c->Name() != "x") return;
    if (TComponent* f = std::exchange(to_free, nullptr)) f->Free();
    if (std::exchange(add, false)) Owner()->InsertComponent(new TLogged(nullptr, "added"));
  }
};

TEST_F(ComponentTest, AWalkOverOwnedComponentsSkipsOnesFreedOnTheWay) {
  TLogged owner(nullptr, "form");
  auto* meddler = new TMeddler(&owner, "m");
  auto* b = new TLogged(&owner, "b");
  new TLogged(&owner, "c");
  meddler->to_free = b;
  meddler->add = true;
  log.clear();
  owner.InsertComponent(new TLogged(nullptr, "x"));
  // b was freed before its turn came: it hears nothing more. The component
  // added meanwhile heard of nothing that came before it.
  EXPECT_EQ(log, (std::vector<std::string>{
                     "form sees insert x", "m sees insert x", "free b", "form sees remove b",
                     "m sees remove b", "c sees remove b", "x sees remove b",
                     "form sees insert added", "m sees insert added", "c sees insert added",
                     "x sees insert added", "c sees insert x"}));
  EXPECT_EQ(owner.ComponentCount(), 4);
}

TEST_F(ComponentTest, LoadedClearsTheLoadingState) {
  TLogged c(nullptr, "c");
  c.SetComponentState(csLoading | csReading);
  EXPECT_TRUE(c.IsLoading());
  c.ClearComponentState(csReading);
  c.Loaded();
  EXPECT_FALSE(c.IsLoading());
  EXPECT_EQ(c.ComponentState(), 0u);
}

}  // namespace
}  // namespace fw
