#include "InstalaRelatorios.h"

#include "Clock.h"
#include "Prompts.h"
#include "Relatorios.h"
#include "ReportContext.h"
#include "Session.h"
#include "TFormPrincipal.h"
#include "TFrmCertificadosAVencer.h"
#include "TFrmRelatorioCertificados.h"

namespace InstalaRelatorios {

namespace {

void mostraLista(Session& session, const MostraRelatorio& mostra, QWidget* parent,
                 const std::function<Report::Document(const ReportContext&)>& relatorio) {
    Report::Document document;
    {
        BusyScope busy(session.prompts());
        document = relatorio(ReportContext::of(session));
    }
    mostra(document, parent);
}

} // namespace

void noRegistro(TFormPrincipal& form, Session& session, MostraRelatorio mostra) {
    form.setFunction(QStringLiteral("CertificadosIncompletos1"), [&form, &session, mostra] {
        mostraLista(session, mostra, &form, Relatorios::certificadosIncompletos);
    });
    form.setFunction(QStringLiteral("CertificadosProntos1"), [&form, &session, mostra] {
        mostraLista(session, mostra, &form, Relatorios::certificadosProntos);
    });
    form.setFunction(QStringLiteral("EspelhoCertificado1"), [&form, &session, mostra] {
        TFrmRelatorioCertificados tela(session, mostra, &form);
        tela.exec();
    });
    form.setFunction(QStringLiteral("CertificadosAVencer1"), [&form, &session, mostra] {
        TFrmCertificadosAVencer pergunta(&form);
        if (pergunta.exec() != QDialog::Accepted)
            return;
        const int dias = pergunta.dias();
        mostraLista(session, mostra, &form,
                    [dias](const ReportContext& c) { return Relatorios::certificadosAVencer(c, dias); });
    });
}

void listaUsuarios(Session& session, const MostraRelatorio& mostra, QWidget* parent) {
    mostraLista(session, mostra, parent, Relatorios::usuarios);
}

void listaHistorico(Session& session, const QString& numeroRemessa, const MostraRelatorio& mostra,
                    QWidget* parent) {
    mostraLista(session, mostra, parent, [&numeroRemessa](const ReportContext& c) {
        return Relatorios::historicoRemessa(c, numeroRemessa);
    });
}

QString avisoAVencer(Session& session) {
    const int count = Relatorios::contaAVencer(session.database(), session.clock().now().date(),
                                               Relatorios::DiasAVencerPadrao);
    if (count == 0)
        return {};
    return count == 1
               ? QStringLiteral("1 certificado vence em até %1 dias").arg(Relatorios::DiasAVencerPadrao)
               : QStringLiteral("%1 certificados vencem em até %2 dias")
                     .arg(formataContagem(count))
                     .arg(Relatorios::DiasAVencerPadrao);
}

} // namespace InstalaRelatorios
