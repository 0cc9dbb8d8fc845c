#pragma once
// Preparing a report: a template run over the bound channels into pages of items.
//
// Bands: the report title once at the top of the first page; the page header at the top and the
// page footer at the foot of every page; the column header after the title and again at the top
// of every further page; the master data band once per row of its channel; group headers and
// footers around each run of rows with the same group value (the n-th group footer closes the
// n-th group header, outer groups first); the summary after the last row.

#include "report/Channels.h"
#include "report/Prepared.h"
#include "report/Template.h"

#include <QDate>
#include <QString>

namespace gz::report {

struct PrepareOptions {
    QDate today = QDate::currentDate();
    // Folder against which relative picture file names are resolved (the template's folder).
    QString baseDir;
};

// Raises a conversion error for a broken expression and a database error for a field that its
// channel lacks, both naming the template object's text.
PreparedReport prepare(const Template& t, const Channels& channels, const PrepareOptions& options = {});

} // namespace gz::report

namespace gz::report {

// Loads the template file and prepares it over the channels. A missing file raises the file
// error naming it (the print commands do not check beforehand; the engine says what is wrong).
PreparedReport prepareFile(const QString& templatePath, const Channels& channels,
                           const PrepareOptions& options = {});

} // namespace gz::report
