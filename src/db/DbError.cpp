#include "DbError.h"

#include <new>

QString messageOfError(std::exception_ptr error) {
    if (!error)
        return QStringLiteral("Erro desconhecido.");
    try {
        std::rethrow_exception(error);
    } catch (const DbError& e) {
        return e.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Memória insuficiente para concluir a operação.");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Erro desconhecido.");
    }
}
