#pragma once
// The job log shown as a table, newest job first.
#include "output/JobLog.h"

#include <QDialog>

class QTableWidget;

class JobLogDialog : public QDialog {
    Q_OBJECT
public:
    explicit JobLogDialog(const std::vector<JobLogEntry>& entries, QWidget* parent = nullptr);
    [[nodiscard]] int rows() const;

private:
    QTableWidget* Table = nullptr;
};
