#include "LocalTime.h"

#include <QFileInfo>
#include <QtGlobal>

void pinLocalTimeZone() {
    static const char* const SystemZone = "/etc/localtime";
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QString::fromLatin1(SystemZone)))
        return;
    qputenv("TZ", QByteArray(":") + SystemZone);
}
