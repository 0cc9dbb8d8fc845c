#pragma once
// Breaking bands into pages, as a small pure class: heights in, page numbers and positions out.
// It knows nothing of data or drawing, so every rule of page breaking is tested on its own:
// a band that does not fit moves to the next page, the page header and the column header repeat
// on every new page, nothing is placed over the page footer, a group header is not left alone at
// the foot of a page, and a band taller than a page still ends up somewhere (clipped) instead of
// breaking pages for ever.

#include <vector>

namespace gz::report {

class PageFlow {
public:
    enum class Role { PageHeader, ColumnHeader, Body, PageFooter };

    struct Frame {
        double bodyHeight = 277;       // printable height of a page (paper less margins)
        double pageHeaderHeight = 0;   // 0: no page header
        double columnHeaderHeight = 0; // 0: no column header
        double pageFooterHeight = 0;   // 0: no page footer
    };

    struct Placed {
        Role role;
        int tag;  // the caller's tag for Body bands (which band); -1 for the automatic ones
        int page; // from 1
        double y; // top, from the top of the printable area
        double height;
        bool operator==(const Placed& o) const {
            return role == o.role && tag == o.tag && page == o.page && y == o.y && height == o.height;
        }
    };

    explicit PageFlow(const Frame& frame) : f_(frame) {}

    // Places a band. keepWithNext is the height that must fit below it on the same page (a group
    // header with its first row); newPage starts it on a fresh page unless the page is still
    // empty. Returns what was placed by this call, in drawing order: the footer of a page that
    // was closed, the headers of a new page, then the band.
    std::vector<Placed> add(int tag, double height, double keepWithNext = 0, bool newPage = false);
    // The column header, placed where the caller wants it the first time (after the title);
    // from then on it repeats at the top of every new page.
    std::vector<Placed> addColumnHeader();
    // Closes the last page (its footer). Further adds are not allowed.
    std::vector<Placed> finish();

    int pageCount() const { return page_; }
    double cursor() const { return y_; }
    double limit() const { return f_.bodyHeight - f_.pageFooterHeight; }

private:
    void openPage(std::vector<Placed>& out);
    void closePage(std::vector<Placed>& out);

    Frame f_;
    int page_ = 0;
    double y_ = 0;
    double fresh_ = 0; // cursor just after the headers of the current page
    bool columnHeaderShown_ = false;
};

} // namespace gz::report
