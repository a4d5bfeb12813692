#pragma once

#include "TelaTransferenciaRemota.h"

// FTP upload to the directory of EndKavorelEnvio, at the port written there (21 when none is).
class TFrmTransfereArquivo : public TelaTransferenciaRemota {
    Q_OBJECT
public:
    TFrmTransfereArquivo(Session& session, SharedBatchState& state, const QString& arquivo,
                         QWidget* parent = nullptr)
        : TelaTransferenciaRemota(session, state, ModoEntrega::Ftp, arquivo, parent) {}
};
