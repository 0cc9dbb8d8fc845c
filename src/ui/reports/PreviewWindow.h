#pragma once
// The report preview: pages of a prepared report with zoom, page navigation, printing with the
// printer dialog, page set-up, search in the text of the pages, saving and loading a prepared
// report, export to every format, and closing. The printer and the page set-up are remembered
// between runs.
//
// Windows call showPreview(parent, prepared) after preparing a report.

#include "report/Prepared.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;

namespace gz {
class ProgramFolder;
}

namespace gz::ui {

enum class PreviewMode { Modal, Modeless };

class PageView;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(std::shared_ptr<const report::PreparedReport> prepared, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    const report::PreparedReport& report() const { return *prepared_; }
    int currentPage() const { return page_; } // from 0
    int pageCount() const { return static_cast<int>(prepared_->pages.size()); }
    double zoom() const; // device pixels per mm shown

    // Zoom: "fitPage", "fitWidth" or a percentage.
    void setZoomMode(const QString& mode);
    QString zoomMode() const { return zoomMode_; }
    void goToPage(int page);
    // Finds the next page item whose text contains the text, from after the last hit; true when
    // found (the page is shown and the item marked).
    bool find(const QString& text);
    QString foundText() const;
    // Export to a file, the format by its suffix; shows the error through the prompter and
    // returns false when it fails.
    bool exportTo(const QString& path);
    bool savePrepared(const QString& path);
    bool loadPrepared(const QString& path);

public slots:
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void print();
    void pageSetup();
    void exportAsked();
    void saveAsked();
    void openAsked();
    void findNext();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void showPage();
    void updateNavigation();
    QPrinter& printer();

    std::shared_ptr<const report::PreparedReport> prepared_;
    int page_ = 0;
    QString zoomMode_ = QStringLiteral("fitWidth");
    int hitPage_ = -1, hitItem_ = -1;
    double lastZoom_ = 0;
    PageView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QLabel* pagesLabel_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QLineEdit* findBox_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
};

// Shows the preview of a prepared report. Modal: returns when it is closed.
PreviewWindow* showPreview(QWidget* parent, std::shared_ptr<const report::PreparedReport> prepared,
                           PreviewMode mode = PreviewMode::Modal);

// The restore command of the payroll and summary windows: asks "是否恢复默认报表?" (OK/Cancel) and,
// on OK, copies the factory copy over the working template and shows the outcome. Returns true
// when the template was restored.
bool restoreTemplateAsking(QWidget* parent, const ProgramFolder& folder, const QString& fileName);

} // namespace gz::ui
