// What the machine-language header step tells the cluster-chain writer.
#pragma once

namespace cutter {

struct HeaderPlan {
  int headerCut = 0;           // bytes at the start of the first cluster left out: 0, 4 or 6
  int byteBudget = 0;          // payload bytes still owed, while budgetApplies
  bool budgetApplies = false;  // only for a machine-language file whose header is cut
  bool headerError = false;    // the header was rejected; the entry is abandoned
};

}  // namespace cutter
