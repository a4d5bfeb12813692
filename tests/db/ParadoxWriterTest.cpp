#include "ParadoxWriter.h"
#include "DbError.h"
#include "ParadoxTable.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QList<ParadoxField> fiveTypes() {
    return {ParadoxField::alpha("Nome", 30),
            ParadoxField::alpha("Texto", 255),
            ParadoxField::of("Curto", ParadoxField::Short),
            ParadoxField::of("Longo", ParadoxField::Long),
            ParadoxField::of("Ativo", ParadoxField::Logical),
            ParadoxField::of("Quando", ParadoxField::Timestamp)};
}

// A row that differs in every column from its neighbours, with NULLs sprinkled in.
ParadoxRow rowNumber(int i) {
    const QVariant none;
    return {QStringLiteral("Linha %1 ação").arg(i),
            i % 7 == 0 ? none : QVariant(QString(200, QChar(u'a' + i % 26))),
            i % 5 == 0 ? none : QVariant(i % 32767 - 16000),
            i % 11 == 0 ? none : QVariant(i * 1000 - 7),
            i % 3 == 0 ? none : QVariant(i % 2 == 0),
            i % 13 == 0
                ? none
                : QVariant(QDateTime(QDate(2024, 1, 1).addDays(i % 900), QTime(i % 24, i % 60, 5, 120)))};
}

void expectRowsEqual(const QList<ParadoxRow>& actual, int count) {
    ASSERT_EQ(actual.size(), count);
    for (int r = 0; r < count; ++r) {
        const ParadoxRow expected = rowNumber(r);
        for (int c = 0; c < expected.size(); ++c) {
            EXPECT_EQ(actual[r][c].isNull(), expected[c].isNull()) << "row " << r << " column " << c;
            if (!expected[c].isNull()) {
                EXPECT_EQ(actual[r][c], expected[c]) << "row " << r << " column " << c;
            }
        }
    }
}

class ParadoxWriterTest : public ::testing::TestWithParam<int> {
protected:
    QTemporaryDir dir_;
    QString path(const QString& name = QStringLiteral("Tabela_I.DB")) const { return dir_.filePath(name); }
};

// Row counts around the block boundaries: a 32 KB block holds 32762 / 518 = 63 of these rows.
TEST_P(ParadoxWriterTest, WhatItWritesReadsBackWithPxlib) {
    const int count = GetParam();
    {
        ParadoxWriter writer(path(), fiveTypes());
        for (int i = 0; i < count; ++i)
            writer.append(rowNumber(i));
        EXPECT_EQ(writer.rowCount(), count);
        writer.finish();
    }
    const ParadoxTable table = ParadoxTable::open(path());
    EXPECT_EQ(table.fields(), fiveTypes());
    EXPECT_EQ(table.recordCount(), count);
    expectRowsEqual(table.readAll(), count);
}

INSTANTIATE_TEST_SUITE_P(RowCounts, ParadoxWriterTest, ::testing::Values(0, 1, 62, 63, 64, 126, 127, 5000));

TEST(ParadoxWriter, LargeRecordsFillManyBlocks) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Lote_I.DB"));
    QList<ParadoxField> fields;
    for (int i = 0; i < 4; ++i)
        fields.append(ParadoxField::alpha(QStringLiteral("Campo%1").arg(i), 255));
    fields.append(ParadoxField::of(QStringLiteral("Numero"), ParadoxField::Long));
    const int count = 20000; // about 600 blocks
    {
        ParadoxWriter writer(file, fields);
        for (int i = 0; i < count; ++i)
            writer.append({QString(255, QChar(u'A' + i % 26)), QStringLiteral("x"), QVariant(),
                           QString(100, u'é'), i + 1});
        writer.finish();
    }
    const ParadoxTable table = ParadoxTable::open(file);
    const QList<ParadoxRow> rows = table.readAll();
    ASSERT_EQ(rows.size(), count);
    for (int i = 0; i < count; i += 997) {
        EXPECT_EQ(rows[i][0].toString(), QString(255, QChar(u'A' + i % 26)));
        EXPECT_TRUE(rows[i][2].isNull());
        EXPECT_EQ(rows[i][3].toString(), QString(100, u'é'));
        EXPECT_EQ(rows[i][4].toInt(), i + 1);
    }
    EXPECT_EQ(rows.last()[4].toInt(), count);
}

TEST(ParadoxWriter, ContentEqualsWhatTheTableWrapperWrites) {
    QTemporaryDir dir;
    const QString streamed = dir.filePath(QStringLiteral("A.DB"));
    const QString wrapped = dir.filePath(QStringLiteral("B.DB"));
    QList<ParadoxRow> rows;
    for (int i = 0; i < 300; ++i)
        rows.append(rowNumber(i));
    {
        ParadoxWriter writer(streamed, fiveTypes());
        for (const ParadoxRow& row : rows)
            writer.append(row);
        writer.finish();
        ParadoxTable::create(wrapped, fiveTypes()).append(rows);
    }
    EXPECT_EQ(ParadoxTable::open(streamed).readAll(), ParadoxTable::open(wrapped).readAll());
}

TEST(ParadoxWriter, ARefusedValueLeavesNoFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("T.DB"));
    try {
        ParadoxWriter writer(file, {ParadoxField::alpha("Nome", 3)});
        writer.append({QStringLiteral("abc")});
        writer.append({QStringLiteral("abcd")});
        FAIL() << "a value longer than its column was accepted";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("comporta 3"))) << error.message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(ParadoxWriter, AnUnfinishedTableIsRemoved) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("T.DB"));
    {
        ParadoxWriter writer(file, fiveTypes());
        writer.append(rowNumber(1));
        EXPECT_TRUE(QFileInfo::exists(file));
    }
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(ParadoxWriter, RefusesAnExistingFileAndOtherTypes) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("T.DB"));
    QFile existing(file);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    EXPECT_THROW(ParadoxWriter(file, fiveTypes()), DbError);
    QFile check(file);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("old"));

    const QString other = dir.filePath(QStringLiteral("U.DB"));
    EXPECT_THROW(ParadoxWriter(other, {ParadoxField::of("Valor", ParadoxField::Currency)}), DbError);
    EXPECT_FALSE(QFileInfo::exists(other));
}

} // namespace
