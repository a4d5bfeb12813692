#pragma once

#include <QString>

class Session;

// The login of the companion: the same check as the login screen (name and password against
// USU_LOCAL), then the user is the session's. The password comes from TARVENDIX_PASSWORD or is
// asked on the terminal.
namespace CliLogin {

// Opens the database of the base directory (it must exist: the companion never creates one) and
// logs the user in. Empty when logged in, else the message to show.
QString login(Session& session, const QString& user);

} // namespace CliLogin
