#include "SlotPanel.h"

#include <QGroupBox>
#include <QVBoxLayout>

SlotPanel::SlotPanel(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    group_ = new QGroupBox(caption, this);
    new QVBoxLayout(group_);
    layout->addWidget(group_);
}

void SlotPanel::install(QWidget* content) {
    delete content_;
    content_ = content;
    group_->layout()->addWidget(content);
}
