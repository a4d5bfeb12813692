#pragma once

#include "Modal.h"
#include "SelecaoGrade.h"
#include "SelectionData.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The selection dialogs over the data of SelectionData, with helpers that drive their widgets.
class SelectionFixture : public SelectionData {
protected:
    template <typename T = QWidget> static T* child(QWidget* parent, const char* name) {
        T* found = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no control " << name;
        return found;
    }

    // The texts of one grid column (by the statement's column), top to bottom, as displayed.
    static QStringList column(QWidget* dialog, const char* grid, int col) {
        auto* view = child<QTableView>(dialog, grid);
        QStringList texts;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            texts << view->model()->index(row, col).data().toString();
        return texts;
    }

    static QStringList titles(QWidget* dialog, const char* grid) {
        auto* view = child<QTableView>(dialog, grid);
        QStringList shown;
        for (int col = 0; col < view->model()->columnCount(); ++col)
            if (!view->isColumnHidden(col))
                shown << view->model()->headerData(col, Qt::Horizontal).toString();
        return shown;
    }

    // Clicks the title of a grid column (by the statement's column), as a user would.
    static void clickTitle(QWidget* dialog, const char* grid, int col) {
        QHeaderView* header = child<QTableView>(dialog, grid)->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // Clicks a row of a grid.
    static void clickRow(QWidget* dialog, const char* grid, int row, int col) {
        auto* view = child<QTableView>(dialog, grid);
        const QRect cell = view->visualRect(view->model()->index(row, col));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    static QString text(QWidget* dialog, const char* name) {
        if (auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
        return child<QLineEdit>(dialog, name)->text();
    }

    static void choose(QWidget* dialog, const char* combo, const QString& entry) {
        auto* box = child<QComboBox>(dialog, combo);
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << "no entry " << entry.toStdString() << " in " << combo;
        box->setCurrentIndex(index);
    }

    static void click(QWidget* dialog, const char* name) {
        ASSERT_TRUE(clickOn(dialog, QString::fromLatin1(name)));
    }
    static void type(QWidget* dialog, const char* name, const QString& value) {
        ASSERT_TRUE(typeInto(dialog, QString::fromLatin1(name), value));
    }
};
