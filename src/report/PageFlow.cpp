#include "report/PageFlow.h"

namespace gz::report {

namespace {
// Heights are in millimetres from sums of decimals: allow for the last bit of rounding.
constexpr double kSlack = 1e-6;
} // namespace

void PageFlow::openPage(std::vector<Placed>& out) {
    ++page_;
    y_ = 0;
    if (f_.pageHeaderHeight > 0) {
        out.push_back({Role::PageHeader, -1, page_, 0, f_.pageHeaderHeight});
        y_ += f_.pageHeaderHeight;
    }
    if (columnHeaderShown_ && f_.columnHeaderHeight > 0) {
        out.push_back({Role::ColumnHeader, -1, page_, y_, f_.columnHeaderHeight});
        y_ += f_.columnHeaderHeight;
    }
    fresh_ = y_;
}

void PageFlow::closePage(std::vector<Placed>& out) {
    if (f_.pageFooterHeight > 0) out.push_back({Role::PageFooter, -1, page_, limit(), f_.pageFooterHeight});
}

std::vector<PageFlow::Placed> PageFlow::add(int tag, double height, double keepWithNext, bool newPage) {
    std::vector<Placed> out;
    if (page_ == 0) openPage(out);
    const bool pageEmpty = y_ <= fresh_ + kSlack;
    const bool fits = y_ + height + keepWithNext <= limit() + kSlack;
    if ((!fits || newPage) && !pageEmpty) {
        closePage(out);
        openPage(out);
    }
    out.push_back({Role::Body, tag, page_, y_, height});
    y_ += height;
    return out;
}

std::vector<PageFlow::Placed> PageFlow::addColumnHeader() {
    std::vector<Placed> out;
    if (page_ == 0) openPage(out);
    if (f_.columnHeaderHeight <= 0) {
        columnHeaderShown_ = true;
        return out;
    }
    // The column header must have at least one row under it; otherwise it goes to the next page,
    // where openPage draws it.
    if (y_ + f_.columnHeaderHeight > limit() + kSlack && y_ > fresh_ + kSlack) {
        closePage(out);
        columnHeaderShown_ = true;
        openPage(out);
        return out;
    }
    out.push_back({Role::ColumnHeader, -1, page_, y_, f_.columnHeaderHeight});
    y_ += f_.columnHeaderHeight;
    columnHeaderShown_ = true;
    return out;
}

std::vector<PageFlow::Placed> PageFlow::finish() {
    std::vector<Placed> out;
    if (page_ == 0) openPage(out);
    closePage(out);
    return out;
}

} // namespace gz::report
