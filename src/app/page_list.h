#pragma once
// The window's pages in one list: what the window needs to know of each
// page (its name, its tab, whether the start size must show it whole) and
// how to make it. Adding a page means a PageId, its class and one line here.
#include <array>

#include "app/page_id.h"

class Page;
class Session;

struct PageEntry {
    PageId id;
    const char* name;     // the widget's object name ("tabAbout")
    const char* caption;  // the tab's caption ("1:Intro"); empty without a tab
    bool tab;             // the page has a tab in the strip
    bool working;         // a page people work on: the start size shows it whole
    Page* (*make)(Session& session);
};

// In page-control order: entry i is the page of PageId i.
const std::array<PageEntry, kPageCount>& PageList();
