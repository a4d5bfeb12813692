#pragma once

#include <QString>

// The program's name and version as the users see them.
namespace AppInfo {

inline const QString Title = QStringLiteral("Tarvendix");
inline const QString ModuleCaption = QStringLiteral("Tarvendix - Módulo do Certificador");
inline const QString Version = QStringLiteral("Versão " TARVENDIX_VERSION);
inline const QString VersionDate = QStringLiteral(" - 27 de Novembro de 2015");
inline const QString ModuleVersion = QStringLiteral("Módulo do Certificador - Versão " TARVENDIX_VERSION);

} // namespace AppInfo
