#include "InstalaImportacao.h"

#include "Session.h"
#include "TDMCapaSistema.h"
#include "TFormPrincipal.h"
#include "TfrmImporta.h"
#include "VerificaConfiguracao.h"

#include <QDir>

void instalaImportacao(TFormPrincipal& form, TDMCapaSistema& dm) {
    const auto abre = [&form, &dm] {
        Session& session = dm.session();
        if (!VerificaConfiguracao(dm, session.prompts()))
            return;
        ImportacaoTxt::Parametros p;
        p.db = dm.database();
        p.clock = &session.clock();
        p.prompts = &session.prompts();
        p.usuario = session.user().SiglaUsu;
        p.origem = QStringLiteral("MODULOOCC");
        p.podeAprovar = session.user().permissions.AcAprovCertific;
        TfrmImporta tela(p, QDir::homePath(), &form);
        tela.exec();
    };
    form.setFunction(QStringLiteral("ImportaTXT1"), abre);
    form.setFunction(QStringLiteral("sbImportacao"), abre);
}
