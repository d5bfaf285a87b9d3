#pragma once
// The "Sort" tab: the collection in its order, moved one place up or down or
// sorted by name; a double click shows a picture large.
#include "document/ArrangementDocument.h"

#include <QWidget>

class PageServices;
class QListWidget;
class QPushButton;

class SortPage : public QWidget
{
    Q_OBJECT
public:
    SortPage(ArrangementDocument &doc, PageServices &services, QWidget *parent = nullptr);

    // The collection's names in their order, and the current row.
    [[nodiscard]] QStringList listedNames() const;
    [[nodiscard]] int currentPicture() const;
    void setCurrentPicture(int row);

    // Lists the collection's names, the first one current.
    void listPictures();
    void moveUp();
    void moveDown();
    void sortByName();
    void showCurrentBig();

private:
    ArrangementDocument &Doc;
    PageServices &Services;
    QListWidget *OrderList = nullptr;
    QPushButton *UpBtn = nullptr;
    QPushButton *DownBtn = nullptr;
    QPushButton *SortNameBtn = nullptr;
};
