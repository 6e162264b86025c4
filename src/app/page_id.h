#pragma once
// The pages of the main window.
#include <QString>

// The pages in page-control order; the value is the page index.
enum class PageId : int {
    tabAbout = 0,
    tabIntro = 1,
    TabSimple = 2,
    tabEstimate = 3,
    tabChart = 4,
    tabEdit = 5,
    tabSplit = 6,
    TabUsers = 7,
    tabSettings = 8,
    tabMax = 9,
    tabVary = 10,
    tabUsingChart = 11,
    TabUsingVary = 12,
    tabOnePay = 13,
    tabPerDiem = 14,
    tabDated = 15,
};

inline constexpr int kPageCount = 16;

// Name of a page ("tabAbout"), which is also its widget's object name.
QString PageName(PageId id);
// Caption of a page ("1:Intro"); empty for pages that never had one.
QString PageCaption(PageId id);
// Whether the page has a tab in the strip.
bool PageHasTab(PageId id);
