#pragma once
// "7:Variable Rates" (tabVary): schedules whose contract rate changes from one
// group of payments to the next, amortized without rounding.
#include "app/pages/page.h"

class VaryPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabVary;
    explicit VaryPage(Session& app);

    void butVaryEGClick();
};
