#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A manual page as the programs describe themselves: written as roff for `man`, from the same
// texts their --help prints, so the two cannot say different things.
struct ManualPage {
    // One item of a list: "--home DIR" and what it does.
    struct Item {
        QString term;
        QString text;
    };
    struct Section {
        QString heading;      // "OPÇÕES"
        QString subheading{}; // a sub-section under the previous heading ("batch"), or empty
        QString text{};       // paragraphs, separated by blank lines
        QList<Item> items{};
        QStringList examples{}; // command lines shown as typed, each after its comment line ("# ...")
    };

    QString name;    // "tarvendix-cli"
    QString summary; // the line after the name in NOME
    QString version; // "Tarvendix 2.4.8"
    QStringList synopsis;
    QList<Section> sections;

    QString toRoff() const;
};
