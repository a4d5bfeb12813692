#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Runs `act` on the next modal dialog once it is up (the caller then opens it with exec()).
// `act` receives nullptr when no dialog came up within three seconds.
inline void onNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal || ++*tries > 300) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

// Types into a line edit found by its objectName, as a user would (non-ASCII text is inserted).
inline bool typeInto(QWidget* parent, const QString& name, const QString& text) {
    auto* edit = parent->findChild<QLineEdit*>(name);
    if (!edit)
        return false;
    edit->clear();
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
    return true;
}

// Clicks a button found by its objectName.
inline bool clickOn(QWidget* parent, const QString& name) {
    auto* button = parent->findChild<QAbstractButton*>(name);
    if (!button)
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}
