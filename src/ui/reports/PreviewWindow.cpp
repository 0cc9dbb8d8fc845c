#include "ui/reports/PreviewWindow.h"

#include "core/data/Errors.h"
#include "core/session/ProgramFolder.h"
#include "report/Factory.h"
#include "report/Output.h"
#include "ui/common/Prompter.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace gz::ui {

// The page on screen: paper on a grey desk, the found item marked.
class PageView : public QWidget {
public:
    explicit PageView(QWidget* parent) : QWidget(parent) { setAutoFillBackground(false); }

    void set(const report::PreparedPage* page, double dpm, int hit) {
        page_ = page;
        dpm_ = dpm;
        hit_ = hit;
        const QSize s = page ? QSize(qRound(page->width * dpm), qRound(page->height * dpm)) : QSize(100, 100);
        setFixedSize(s + QSize(2 * kDesk, 2 * kDesk));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        if (!page_) return;
        const QRect paper(kDesk, kDesk, width() - 2 * kDesk, height() - 2 * kDesk);
        p.fillRect(paper.translated(3, 3), QColor(0x50, 0x50, 0x50));
        p.fillRect(paper, Qt::white);
        p.translate(kDesk, kDesk);
        report::paintPage(p, *page_, dpm_);
        if (hit_ >= 0 && hit_ < static_cast<int>(page_->items.size())) {
            const QRectF r = page_->items[static_cast<std::size_t>(hit_)].rect;
            QColor mark(255, 200, 0, 90);
            p.fillRect(QRectF(r.x() * dpm_, r.y() * dpm_, r.width() * dpm_, r.height() * dpm_), mark);
        }
    }

private:
    static constexpr int kDesk = 12;
    const report::PreparedPage* page_ = nullptr;
    double dpm_ = 3;
    int hit_ = -1;
};

namespace {

QSettings settings() {
    return QSettings(QStringLiteral("pkvgzgl"), QStringLiteral("report"));
}

QString exportFilter() {
    return QStringLiteral(
        "PDF 文件 (*.pdf);;Excel 表格 (*.xlsx);;网页 (*.html);;PNG 图片 (*.png);;JPEG 图片 (*.jpg);;"
        "BMP 图片 (*.bmp)");
}

} // namespace

PreviewWindow::PreviewWindow(std::shared_ptr<const report::PreparedReport> prepared, QWidget* parent)
    : QDialog(parent), prepared_(std::move(prepared)) {
    setWindowTitle(prepared_->title.isEmpty() ? QStringLiteral("打印预览")
                                              : QStringLiteral("打印预览 - ") + prepared_->title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(1000, 720);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto button = [&](const QString& text, const QString& tip, auto slot, const QKeySequence& key = {}) {
        QAction* a = bar->addAction(text, this, slot);
        a->setToolTip(tip);
        if (!key.isEmpty()) a->setShortcut(key);
        return a;
    };
    zoomBox_ = new QComboBox(bar);
    zoomBox_->addItem(QStringLiteral("整页"), QStringLiteral("fitPage"));
    zoomBox_->addItem(QStringLiteral("页宽"), QStringLiteral("fitWidth"));
    for (int pct : {50, 75, 100, 150, 200})
        zoomBox_->addItem(QStringLiteral("%1%").arg(pct), QString::number(pct));
    zoomBox_->setToolTip(QStringLiteral("缩放"));
    bar->addWidget(zoomBox_);
    bar->addSeparator();
    button(QStringLiteral("第一页"), QStringLiteral("第一页 (Home)"), &PreviewWindow::firstPage,
           QKeySequence(Qt::CTRL | Qt::Key_Home));
    button(QStringLiteral("上一页"), QStringLiteral("上一页 (PgUp)"), &PreviewWindow::previousPage);
    pageBox_ = new QSpinBox(bar);
    pageBox_->setRange(1, std::max(1, pageCount()));
    pageBox_->setToolTip(QStringLiteral("页码"));
    bar->addWidget(pageBox_);
    pagesLabel_ = new QLabel(bar);
    bar->addWidget(pagesLabel_);
    button(QStringLiteral("下一页"), QStringLiteral("下一页 (PgDn)"), &PreviewWindow::nextPage);
    button(QStringLiteral("最后页"), QStringLiteral("最后页 (End)"), &PreviewWindow::lastPage,
           QKeySequence(Qt::CTRL | Qt::Key_End));
    bar->addSeparator();
    findBox_ = new QLineEdit(bar);
    findBox_->setPlaceholderText(QStringLiteral("查找内容"));
    findBox_->setMaximumWidth(160);
    bar->addWidget(findBox_);
    button(QStringLiteral("查找"), QStringLiteral("在各页文字中查找 (F3)"), &PreviewWindow::findNext,
           QKeySequence(Qt::Key_F3));
    bar->addSeparator();
    button(QStringLiteral("打印"), QStringLiteral("打印 (Ctrl+P)"), &PreviewWindow::print,
           QKeySequence::Print);
    button(QStringLiteral("页面设置"), QStringLiteral("页面设置"), &PreviewWindow::pageSetup);
    bar->addSeparator();
    button(QStringLiteral("打开"), QStringLiteral("打开保存的报表"), &PreviewWindow::openAsked,
           QKeySequence::Open);
    button(QStringLiteral("保存"), QStringLiteral("保存报表"), &PreviewWindow::saveAsked, QKeySequence::Save);
    button(QStringLiteral("导出"), QStringLiteral("导出为 PDF、Excel、网页或图片"),
           &PreviewWindow::exportAsked);
    bar->addSeparator();
    button(QStringLiteral("关闭"), QStringLiteral("关闭预览 (Esc)"), &QDialog::reject);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setStyleSheet(QStringLiteral("QScrollArea { background: #808080; border: none; }"));
    scroll_->viewport()->setStyleSheet(QStringLiteral("background: #808080;"));
    // The fit zooms follow the visible area, which is known only once it is laid out.
    scroll_->viewport()->installEventFilter(this);
    view_ = new PageView(scroll_);
    scroll_->setWidget(view_);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(bar);
    lay->addWidget(scroll_, 1);

    const QString remembered =
        settings().value(QStringLiteral("zoom"), QStringLiteral("fitWidth")).toString();
    zoomMode_ = remembered;
    const int zi = zoomBox_->findData(zoomMode_);
    zoomBox_->setCurrentIndex(zi >= 0 ? zi : 1);
    connect(zoomBox_, &QComboBox::currentIndexChanged, this,
            [this](int i) { setZoomMode(zoomBox_->itemData(i).toString()); });
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int v) {
        if (v - 1 != page_) goToPage(v - 1);
    });
    connect(findBox_, &QLineEdit::returnPressed, this, &PreviewWindow::findNext);
    connect(findBox_, &QLineEdit::textChanged, this, [this] { hitPage_ = hitItem_ = -1; });
    showPage();
}

PreviewWindow::~PreviewWindow() = default;

double PreviewWindow::zoom() const {
    if (prepared_->pages.empty()) return 96 / 25.4;
    const report::PreparedPage& p = prepared_->pages[static_cast<std::size_t>(page_)];
    const QSize avail = scroll_->viewport()->size() - QSize(24, 24);
    if (zoomMode_ == QLatin1String("fitPage"))
        return std::max(0.5, std::min(avail.width() / p.width, avail.height() / p.height));
    if (zoomMode_ == QLatin1String("fitWidth")) return std::max(0.5, avail.width() / p.width);
    bool ok = false;
    const int pct = zoomMode_.toInt(&ok);
    // 100% is the paper's own size on a screen of logicalDpi.
    return (ok ? pct : 100) / 100.0 * logicalDpiX() / 25.4;
}

void PreviewWindow::setZoomMode(const QString& mode) {
    zoomMode_ = mode;
    const int i = zoomBox_->findData(mode);
    if (i >= 0 && i != zoomBox_->currentIndex()) {
        const QSignalBlocker b(zoomBox_);
        zoomBox_->setCurrentIndex(i);
    }
    settings().setValue(QStringLiteral("zoom"), mode);
    showPage();
}

void PreviewWindow::showPage() {
    const bool any = !prepared_->pages.empty();
    view_->set(any ? &prepared_->pages[static_cast<std::size_t>(page_)] : nullptr, zoom(),
               hitPage_ == page_ ? hitItem_ : -1);
    updateNavigation();
}

void PreviewWindow::updateNavigation() {
    const QSignalBlocker b(pageBox_);
    pageBox_->setRange(1, std::max(1, pageCount()));
    pageBox_->setValue(page_ + 1);
    pagesLabel_->setText(QStringLiteral(" / %1 页 ").arg(pageCount()));
}

void PreviewWindow::goToPage(int page) {
    if (pageCount() == 0) return;
    page_ = std::clamp(page, 0, pageCount() - 1);
    showPage();
    scroll_->verticalScrollBar()->setValue(0);
}

void PreviewWindow::firstPage() {
    goToPage(0);
}
void PreviewWindow::previousPage() {
    goToPage(page_ - 1);
}
void PreviewWindow::nextPage() {
    goToPage(page_ + 1);
}
void PreviewWindow::lastPage() {
    goToPage(pageCount() - 1);
}

bool PreviewWindow::find(const QString& text) {
    if (text.isEmpty() || pageCount() == 0) return false;
    // Search from just after the last hit, round all pages once.
    int p = hitPage_ >= 0 ? hitPage_ : page_;
    int i = hitPage_ >= 0 ? hitItem_ + 1 : 0;
    for (int n = 0; n <= pageCount(); ++n) {
        const auto& items = prepared_->pages[static_cast<std::size_t>(p)].items;
        for (; i < static_cast<int>(items.size()); ++i) {
            if (items[static_cast<std::size_t>(i)].text.contains(text, Qt::CaseInsensitive)) {
                hitPage_ = p;
                hitItem_ = i;
                page_ = p;
                showPage();
                // Scroll the hit into view.
                const QRectF r = items[static_cast<std::size_t>(i)].rect;
                scroll_->ensureVisible(qRound(r.center().x() * zoom()) + 12,
                                       qRound(r.center().y() * zoom()) + 12);
                return true;
            }
        }
        p = (p + 1) % pageCount();
        i = 0;
    }
    return false;
}

QString PreviewWindow::foundText() const {
    if (hitPage_ < 0) return {};
    return prepared_->pages[static_cast<std::size_t>(hitPage_)]
        .items[static_cast<std::size_t>(hitItem_)]
        .text;
}

void PreviewWindow::findNext() {
    const QString text = findBox_->text().trimmed();
    if (text.isEmpty()) {
        findBox_->setFocus();
        return;
    }
    if (!find(text)) prompter().message(this, QStringLiteral("没有找到“%1”。").arg(text));
}

QPrinter& PreviewWindow::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QSettings s = settings();
        const QString name = s.value(QStringLiteral("printer")).toString();
        if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name))
            printer_->setPrinterName(name);
        const int sizeId = s.value(QStringLiteral("pageSize"), -1).toInt();
        if (sizeId >= 0) printer_->setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(sizeId)));
        if (s.contains(QStringLiteral("copies")))
            printer_->setCopyCount(s.value(QStringLiteral("copies")).toInt());
    }
    return *printer_;
}

void PreviewWindow::print() {
    if (pageCount() == 0) return;
    QPrinter& pr = printer();
    QPrintDialog dlg(&pr, this);
    dlg.setMinMax(1, pageCount());
    dlg.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dlg.exec() != QDialog::Accepted) return;
    try {
        report::printReport(*prepared_, pr);
        QSettings s = settings();
        s.setValue(QStringLiteral("printer"), pr.printerName());
        s.setValue(QStringLiteral("copies"), pr.copyCount());
    } catch (const Error& e) {
        prompter().message(this, e.message(), Prompter::Icon::Error);
    }
}

void PreviewWindow::pageSetup() {
    QPrinter& pr = printer();
    QPageSetupDialog dlg(&pr, this);
    if (dlg.exec() != QDialog::Accepted) return;
    QSettings s = settings();
    s.setValue(QStringLiteral("printer"), pr.printerName());
    s.setValue(QStringLiteral("pageSize"), static_cast<int>(pr.pageLayout().pageSize().id()));
}

bool PreviewWindow::exportTo(const QString& path) {
    try {
        report::exportByName(*prepared_, path);
        return true;
    } catch (const Error& e) {
        prompter().message(this, e.message(), Prompter::Icon::Error);
        return false;
    }
}

void PreviewWindow::exportAsked() {
    QSettings s = settings();
    const QString dir = s.value(QStringLiteral("exportDir"), QDir::homePath()).toString();
    const QString path = prompter().saveFile(this, QStringLiteral("导出报表"), dir, exportFilter());
    if (path.isEmpty()) return;
    s.setValue(QStringLiteral("exportDir"), QFileInfo(path).absolutePath());
    if (!exportTo(path)) return;
    // A spreadsheet is opened once written, so the clerk can work on it.
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0 &&
        QGuiApplication::platformName() != QLatin1String("offscreen"))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    else
        prompter().message(this, QStringLiteral("报表已导出到 %1").arg(QDir::toNativeSeparators(path)));
}

bool PreviewWindow::savePrepared(const QString& path) {
    try {
        prepared_->save(path);
        return true;
    } catch (const Error& e) {
        prompter().message(this, e.message(), Prompter::Icon::Error);
        return false;
    }
}

bool PreviewWindow::loadPrepared(const QString& path) {
    try {
        prepared_ = std::make_shared<const report::PreparedReport>(report::PreparedReport::load(path));
    } catch (const Error& e) {
        prompter().message(this, e.message(), Prompter::Icon::Error);
        return false;
    }
    page_ = 0;
    hitPage_ = hitItem_ = -1;
    showPage();
    return true;
}

void PreviewWindow::saveAsked() {
    const QString path = prompter().saveFile(this, QStringLiteral("保存报表"), QDir::homePath(),
                                             QStringLiteral("已生成的报表 (*.rmp)"));
    if (!path.isEmpty())
        savePrepared(path.endsWith(QLatin1String(".rmp")) ? path : path + QStringLiteral(".rmp"));
}

void PreviewWindow::openAsked() {
    const QString path = prompter().openFile(this, QStringLiteral("打开报表"), QDir::homePath(),
                                             QStringLiteral("已生成的报表 (*.rmp)"));
    if (!path.isEmpty()) loadPrepared(path);
}

void PreviewWindow::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_PageDown:
        nextPage();
        return;
    case Qt::Key_PageUp:
        previousPage();
        return;
    case Qt::Key_Home:
        firstPage();
        return;
    case Qt::Key_End:
        lastPage();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Minus: {
        const double pct = zoom() * 25.4 / logicalDpiX() * 100;
        const int next = e->key() == Qt::Key_Plus ? qRound(pct * 1.25) : qRound(pct / 1.25);
        zoomMode_ = QString::number(std::clamp(next, 20, 400));
        showPage();
        return;
    }
    default:
        break;
    }
    if (e->matches(QKeySequence::Find)) {
        findBox_->setFocus();
        findBox_->selectAll();
        return;
    }
    QDialog::keyPressEvent(e);
}

void PreviewWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (zoomMode_.startsWith(QLatin1String("fit"))) showPage();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == scroll_->viewport() && e->type() == QEvent::Resize &&
        zoomMode_.startsWith(QLatin1String("fit"))) {
        const double before = lastZoom_;
        lastZoom_ = zoom();
        if (qAbs(before - lastZoom_) > 0.01) showPage();
    }
    return QDialog::eventFilter(watched, e);
}

PreviewWindow* showPreview(QWidget* parent, std::shared_ptr<const report::PreparedReport> prepared,
                           PreviewMode mode) {
    auto* w = new PreviewWindow(std::move(prepared), parent);
    if (mode == PreviewMode::Modal) {
        w->exec();
        delete w;
        return nullptr;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

bool restoreTemplateAsking(QWidget* parent, const ProgramFolder& folder, const QString& fileName) {
    if (!prompter().okCancel(parent, report::msg::restoreQuestion(), QStringLiteral("提示！"))) return false;
    const QString outcome = report::restoreFactoryTemplate(folder, fileName);
    const bool ok = report::restoreSucceeded(outcome);
    prompter().message(parent, outcome, ok ? Prompter::Icon::Information : Prompter::Icon::Warning);
    return ok;
}

} // namespace gz::ui
