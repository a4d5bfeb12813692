#pragma once

#include <QWidget>

class QGroupBox;

// A panel or tab whose content comes with a later screen: named and captioned as documented, and
// empty until install() puts that screen's widget into it.
class SlotPanel : public QWidget {
    Q_OBJECT
public:
    SlotPanel(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

    void install(QWidget* content); // the panel takes ownership
    QWidget* content() const { return content_; }
    const QString& caption() const { return caption_; }

private:
    QString caption_;
    QGroupBox* group_;
    QWidget* content_ = nullptr;
};
