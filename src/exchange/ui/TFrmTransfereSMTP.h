#pragma once

#include "TelaTransferenciaRemota.h"

// the batch mailed through the certifier's SMTP server, from and to EndSMTPEMailReply.
class TFrmTransfereSMTP : public TelaTransferenciaRemota {
    Q_OBJECT
public:
    TFrmTransfereSMTP(Session& session, SharedBatchState& state, const QString& arquivo,
                      QWidget* parent = nullptr)
        : TelaTransferenciaRemota(session, state, ModoEntrega::Email, arquivo, parent) {}
};
