// Contacts between entities: the two pair passes, each its rule walked over
// the pairs by the pair visitor.
#include "sim/contacts.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "sim/pair_rules.h"
#include "sim/pair_scan.h"

namespace kragmoor {

namespace {

// Both passes walk one gathering of the copies, made with the acts of the
// contact rule: the aggression rule, which moves nothing and changes nobody's
// acts, has none, and so leaves them exact for ContactPass.
LiveSlots& PairCopies(const World& world, FrameScratch& scratch) {
  return GatherLiveSlots<kContactReach.mayAct>(world, scratch);
}

// HomeBase of each side, looked up among the live copies when first needed:
// no contact changes a life, an owner or a kind, so it stays the same for
// the whole pass.
class HomeBases {
 public:
  HomeBases(const World& world, const LiveSlots& live) : world_(world), live_(live) {}

  int operator()(int32_t owner) {
    if (!IsSide(owner)) return Find(owner);
    int& home = home_[owner];
    if (home < 0) home = Find(owner);
    return home;
  }

 private:
  // HomeBase(world_, owner): the live slots are all copied, in order.
  int Find(int32_t owner) const {
    int home = kSlotCount - 1;
    for (int k = 0; k < live_.count && live_.slot[k] < kSlotCount - 1; ++k) {
      if (live_.owner[k] == owner && world_.entities[live_.slot[k]].kind == kKindBase) {
        home = live_.slot[k];
        break;
      }
    }
    if (kDebugChecks && home != HomeBase(world_, owner)) {
      std::fprintf(stderr,
                   "ContactPass: the home base of owner %d is slot %d, but the pass looked up "
                   "%d: the pair copies missed a slot that is live, or a contact rule changed "
                   "a life, owner or kind during the pass.\n",
                   owner, HomeBase(world_, owner), home);
      std::abort();
    }
    return home;
  }

  const World& world_;
  const LiveSlots& live_;
  std::array<int, kSideCount> home_{-1, -1, -1};
};

}  // namespace

void AggressionPass(World& world, FrameScratch& scratch) {
  CheckScratch(scratch, world, "AggressionPass");
  VisitPairs<kAggressionReach>(world, PairCopies(world, scratch),
                               [](World& w, int i, int j) { AggressionPair(w, i, j); });
}

void ContactPass(World& world, FrameScratch& scratch) {
  CheckScratch(scratch, world, "ContactPass");
  LiveSlots& live = PairCopies(world, scratch);
  HomeBases homes(world, live);
  VisitPairs<kContactReach>(
      world, live, [&homes](World& w, int i, int j) { return ContactPair(w, i, j, homes); });
}

void AggressionPass(World& world) {
  FrameScratch scratch(world);
  AggressionPass(world, scratch);
}

void ContactPass(World& world) {
  FrameScratch scratch(world);
  ContactPass(world, scratch);
}

}  // namespace kragmoor
