#include "link/LineGrant.h"

namespace quorvane {
namespace {

constexpr int kUsers = 5;
constexpr Grant G = Grant::Go, W = Grant::Wait, R = Grant::Refuse;
// Rows: free, then each holder in LineUser order; columns: each asker.
constexpr Grant kGrants[kUsers + 1][kUsers] = {
    /* free      */ {G, G, G, G, G},
    /* Poll      */ {G, G, G, G, G},  // never holds
    /* Keys      */ {W, G, G, G, G},
    /* QuickScan */ {G, G, G, G, G},  // never holds
    /* Harvest   */ {W, R, W, G, R},
    /* Memory    */ {W, R, W, R, G},
};

}  // namespace

Grant GrantLine(std::optional<LineUser> holder, LineUser asker) {
    const int row = holder ? static_cast<int>(*holder) + 1 : 0;
    return kGrants[row][static_cast<int>(asker)];
}

bool HoldsLine(LineUser user) {
    return user == LineUser::Keys || user == LineUser::Harvest || user == LineUser::Memory;
}

bool PutsInProgramMode(LineUser user) { return user == LineUser::Harvest || user == LineUser::Memory; }

bool ScansAfterProgramMode(LineUser user) { return user == LineUser::Memory; }

}  // namespace quorvane
