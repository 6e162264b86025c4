#pragma once
// The static help pages: the APR tolerances (tabIntro), the notices
// (TabUsers), using the chart (tabUsingChart), using the variable-rate page
// (TabUsingVary) and one-repayment loans (tabPerDiem).
#include "app/pages/page.h"

class TolerancePage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabIntro;
    explicit TolerancePage(Session& app);
};

class UsersPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::TabUsers;
    explicit UsersPage(Session& app);
};

class UsingChartPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabUsingChart;
    explicit UsingChartPage(Session& app);
};

class UsingVaryPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::TabUsingVary;
    explicit UsingVaryPage(Session& app);

    // The page's lines, top to bottom.
    static const QStringList& Lines();
};

class PerDiemPage : public Page {
    Q_OBJECT
  public:
    static constexpr PageId kId = PageId::tabPerDiem;
    explicit PerDiemPage(Session& app);

    void butOnePayClick();
};
