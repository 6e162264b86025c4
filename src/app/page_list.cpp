#include "app/page_list.h"

#include "app/pages/about_page.h"
#include "app/pages/chart_page.h"
#include "app/pages/dated_page.h"
#include "app/pages/editor_page.h"
#include "app/pages/figure_page.h"
#include "app/pages/help_pages.h"
#include "app/pages/irregular_page.h"
#include "app/pages/one_pay_page.h"
#include "app/pages/regular_page.h"
#include "app/pages/settings_page.h"
#include "app/pages/split_page.h"
#include "app/pages/vary_page.h"

namespace {

template <class P>
Page* Make(Session& session) {
    return new P(session);
}

// The variable-rate page is left to scroll at the start size: its list of
// groups is taller than most screens.
constexpr std::array<PageEntry, kPageCount> kPages{{
    {PageId::tabAbout, "tabAbout", "1:Intro", true, true, Make<AboutPage>},
    {PageId::tabIntro, "tabIntro", "1:Tolerance", false, false, Make<TolerancePage>},
    {PageId::TabSimple, "TabSimple", "2:Reg.Pay", true, true, Make<RegularPage>},
    {PageId::tabEstimate, "tabEstimate", "3:Irreg.Pay", true, true, Make<IrregularPage>},
    {PageId::tabChart, "tabChart", "4:Chart/Rule of 78s", true, true, Make<ChartPage>},
    {PageId::tabEdit, "tabEdit", "5:Save/Edit", true, true, Make<EditorPage>},
    {PageId::tabSplit, "tabSplit", "6:Split Rates", true, true, Make<SplitPage>},
    {PageId::TabUsers, "TabUsers", "", false, false, Make<UsersPage>},
    {PageId::tabSettings, "tabSettings", "7:Settings", false, true, Make<SettingsPage>},
    {PageId::tabMax, "tabMax", "", false, true, Make<FigurePage>},
    {PageId::tabVary, "tabVary", "7:Variable Rates", true, false, Make<VaryPage>},
    {PageId::tabUsingChart, "tabUsingChart", "", false, false, Make<UsingChartPage>},
    {PageId::TabUsingVary, "TabUsingVary", "", false, false, Make<UsingVaryPage>},
    {PageId::tabOnePay, "tabOnePay", "", false, true, Make<OnePayPage>},
    {PageId::tabPerDiem, "tabPerDiem", "", false, false, Make<PerDiemPage>},
    {PageId::tabDated, "tabDated", "", false, true, Make<DatedPage>},
}};

constexpr bool InPageOrder() {
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        if (std::size_t(kPages[i].id) != i) return false;
    }
    return true;
}
static_assert(InPageOrder(), "entry i of the page list is the page of PageId i");

}  // namespace

const std::array<PageEntry, kPageCount>& PageList() {
    return kPages;
}

QString PageName(PageId id) {
    return QString::fromLatin1(kPages.at(std::size_t(id)).name);
}

QString PageCaption(PageId id) {
    return QString::fromLatin1(kPages.at(std::size_t(id)).caption);
}

bool PageHasTab(PageId id) {
    return kPages.at(std::size_t(id)).tab;
}
