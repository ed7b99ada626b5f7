// Components and the society that schedules them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/gc_base.h"
#include "components/society.h"
#include "tests/support/captures.h"

namespace {

using Log = std::vector<std::string>;

// Records every call of the three passes as "<name><U|P|E><n>".
class Recorder : public CGCBase {
 public:
  Recorder(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  ~Recorder() override { log_.push_back(name_ + "~"); }
  int Update(int n) override {
    log_.push_back(name_ + "U" + std::to_string(n));
    if (onUpdate) onUpdate();
    return 1;
  }
  int PostUpdate(int n) override {
    log_.push_back(name_ + "P" + std::to_string(n));
    return 1;
  }
  int EndFrame(int n) override {
    log_.push_back(name_ + "E" + std::to_string(n));
    return 1;
  }
  std::function<void()> onUpdate;

 private:
  std::string name_;
  Log& log_;
};

class Society : public ::testing::Test {
 protected:
  // Heap members, so that the society may delete them.
  Recorder* Make(const std::string& name) {
    auto* r = new Recorder(name, log_);
    EXPECT_EQ(r->Attach(&society_), 1);
    return r;
  }
  std::string Names() const {
    std::string s;
    for (const std::string& entry : log_) s += entry + " ";
    return s;
  }
  void TearDown() override {
    while (society_.Count() > 0) delete society_.Member(0);
  }

  testsupport::ScopedTestClock clock_;
  Log log_;
  CSociety society_;
};

TEST_F(Society, RemovingAMemberMovesTheLastIntoItsPlace) {
  Recorder* a = Make("A");
  Recorder* b = Make("B");
  Recorder* c = Make("C");
  EXPECT_EQ(a->Detach(), 1);
  EXPECT_EQ(society_.Member(0), c);
  EXPECT_EQ(society_.Member(1), b);
  EXPECT_EQ(c->index, 0);
  EXPECT_EQ(society_.Count(), 2);
  EXPECT_EQ(a->Detach(), 0) << "detached already";
  EXPECT_EQ(society_.Remove(a), 0);
  delete a;
}

TEST_F(Society, PassOrderForEachKindOfMember) {
  struct Case {
    const char* name;
    int deferA, frozenA, suspendedA;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", 0, 0, 0, "AU2 AP2 AE2 BU2 BP2 BE2 "},
      {"deferred runs EndFrame before PostUpdate", 1, 0, 0, "AU2 AE2 BU2 BP2 BE2 AP2 "},
      {"frozen gets only EndFrame", 0, 1, 0, "AE2 BU2 BP2 BE2 "},
      {"suspended gets nothing", 0, 0, 1, "BU2 BP2 BE2 "},
  };
  Recorder* a = Make("A");
  Make("B");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    a->defer = c.deferA;
    a->frozen = c.frozenA;
    a->SetSuspended(c.suspendedA);
    log_.clear();
    society_.Update(2);
    EXPECT_EQ(Names(), c.expected);
  }
}

TEST_F(Society, ARemoveRequestDeletesAtTheNextPassAndTheLastTakesItsTurn) {
  Recorder* a = Make("A");
  Make("B");
  Make("C");
  a->onUpdate = [a] { a->removeRequest = 1; };
  society_.Update(1);
  log_.clear();
  society_.Update(1);
  EXPECT_EQ(Names(), "A~ CU1 CP1 CE1 BU1 BP1 BE1 ");
  EXPECT_EQ(society_.Count(), 2);
}

TEST_F(Society, AMemberAddedDuringThePassRunsInTheSamePass) {
  Recorder* a = Make("A");
  Recorder* late = new Recorder("L", log_);
  a->onUpdate = [&] {
    if (!late->IsAttached()) late->Attach(&society_);
  };
  society_.Update(1);
  EXPECT_EQ(Names(), "AU1 AP1 AE1 LU1 LP1 LE1 ");
}

TEST_F(Society, ADeferredMemberDeletedByAnotherGetsNoPostUpdate) {
  Recorder* a = Make("A");
  Recorder* b = Make("B");
  a->defer = 1;
  b->onUpdate = [a] { delete a; };
  society_.Update(1);
  // B moved into A's place, so its own position is empty for the rest of the pass.
  EXPECT_EQ(Names(), "AU1 AE1 BU1 A~ ");
  EXPECT_EQ(society_.Count(), 1);
}

TEST_F(Society, TickRunsAtMostFourAndLosesTimeWhilePaused) {
  Make("A");
  EXPECT_EQ(society_.Tick(), 0);
  clock_->AdvanceSeconds(7.2 / 30);
  EXPECT_EQ(society_.Tick(), 4);
  EXPECT_EQ(Names(), "AU4 AP4 AE4 ");
  EXPECT_EQ(society_.Tick(), 0) << "the three others are dropped";

  EXPECT_EQ(society_.SetPaused(1), 1);
  EXPECT_EQ(society_.SetPaused(1), 0);
  clock_->AdvanceSeconds(2.0 / 30);
  EXPECT_EQ(society_.Tick(), 0);
  EXPECT_EQ(society_.SetPaused(0), 1);
  EXPECT_EQ(society_.Tick(), 0) << "time spent paused is not caught up";
  clock_->AdvanceSeconds(1.0 / 30);
  EXPECT_EQ(society_.Tick(), 1);
}

TEST_F(Society, MembershipLimitsAndDestruction) {
  std::vector<std::unique_ptr<Recorder>> members;
  {
    CSociety local;
    for (int i = 0; i < 101; ++i) members.push_back(std::make_unique<Recorder>("m", log_));
    for (int i = 0; i < 100; ++i) ASSERT_EQ(members[i]->Attach(&local), 1);
    EXPECT_EQ(members[100]->Attach(&local), 0) << "the 101st";
    EXPECT_EQ(members[100]->IsAttached(), 0);
    EXPECT_EQ(members[0]->Attach(&society_), 0) << "already attached";
    EXPECT_EQ(members[0]->Attach(nullptr), 0);
    EXPECT_EQ(local.Add(nullptr), 0);
  }
  for (auto& m : members) EXPECT_EQ(m->IsAttached(), 0) << "the society detached every member";
  EXPECT_EQ(log_.size(), 0u) << "and deleted none";
}

TEST_F(Society, ComponentTagTimerAndSharedCounter) {
  Log log;
  auto first = std::make_unique<Recorder>("f", log);
  EXPECT_EQ(first->SetTag(7), 0);
  EXPECT_EQ(first->SetTag(9), 7);
  EXPECT_EQ(first->ResetTimer(1), 0) << "no owner";
  EXPECT_EQ(first->ResetTimer(0), 1);
  ASSERT_EQ(first->Attach(&society_), 1);
  clock_->AdvanceSeconds(5.0 / 30);
  EXPECT_EQ(first->ResetTimer(1), 1);
  EXPECT_EQ(society_.Tick(), 4) << "Reset alone keeps the passed deadline";

  auto clone = std::make_unique<Recorder>("c", log);
  clone->ShareCounterWith(*first);
  EXPECT_EQ(first->SharedCount(), 1);
  clone.reset();
  EXPECT_EQ(first->SharedCount(), 0) << "the clone left; the first is the last holder";
  first.reset();
  EXPECT_EQ(society_.Count(), 0) << "the destructor detached it";
}

}  // namespace
