#include "TestHome.h"

#include "Database.h"
#include "Paths.h"

TestHome::TestHome() : previousHome_(qgetenv("TARVENDIX_HOME")) {
    qputenv("TARVENDIX_HOME", dir_.path().toUtf8());
}

TestHome::~TestHome() {
    Database::close();
    if (previousHome_.isEmpty())
        qunsetenv("TARVENDIX_HOME");
    else
        qputenv("TARVENDIX_HOME", previousHome_);
}

QString TestHome::path() const {
    return Paths::withTrailingSlash(dir_.path());
}

QSqlDatabase TestHome::openDatabase() {
    return Database::open(Paths::databaseFile());
}
