#pragma once

#include "ExchangeFixture.h"
#include "ResultadoRemessa.h"

#include <QStringList>

// A batch exchange up to the authority's verdict: prepare, deliver (the archive stays in the
// transfer directory and the TR event is recorded, as the delivery does), then the verdict.
class ResultFixture : public ExchangeFixture {
protected:
    // Prepares a batch of the type and records its delivery; returns the archive name.
    QString preparaEEntrega(const QString& tipo = QStringLiteral("C"));
    // Records the delivery of the latest batch and selects it as the batch control does.
    void entrega(const QString& numero, const QString& tipo);
    // Selects the latest batch in the shared state (what BtRecebe does).
    void seleciona(const QString& numero, const QString& tipo);

    // The replicas equal the live tables, restricted to rows outside the excluded certificate,
    // company and product (those of an unapproved certificate).
    void expectReplicasEqualLive(const QString& excluirCertificado = {}, const QString& excluirEmpresa = {},
                                 const QString& excluirMarca = {});
    // Every replica's rows (sorted) by table.
    QMap<QString, QList<QStringList>> replicas() const;
    qint64 linhasReplicas() const;

    int eventos(const QString& evento) const;
    QString obsDoEvento(const QString& evento) const;

    // A zip holding the given files (name -> content) made with the zip program.
    QString fazZip(const QString& path, const QMap<QString, QByteArray>& files) const;
    // A result archive of the authority for the batch archive, with the remarks when given.
    QString resultado(const QString& directory, const QString& arquivoRemessa, const QString& veredito,
                      const QByteArray& observacoes = {}, bool comObservacoes = true) const;

    QString sincr() const { return home.path() + QStringLiteral("Sincr/"); }
    QString archivePath(const QString& arquivo) const { return transf() + arquivo; }
};
