#pragma once

#include "LinhasProduto.h"

#include <QDate>
#include <optional>

class TDMCertif;

// The data module of the product lines by type: the line shown or edited (QryTipo), the key of
// the current line, remembered after every open and every save, and the line's routines. Lines are
// always found by their whole key compared exactly, so brands such as "LG" and "LG ELECTRONICS"
// never reach each other's rows.
class TDMTipo {
public:
    explicit TDMTipo(TDMCertif& dm);

    TDMCertif& dm() const { return linhas_.dm(); }
    LinhasDoCertificado& linhas() { return linhas_; }

    // The line of QryTipo: the one being edited, or else the one last opened.
    const std::optional<LinhaProduto>& QryTipo() const { return qryTipo_; }
    // The remembered key of the current type line.
    const std::optional<ChaveLinha>& chaveLembrada() const { return chave_; }
    // The open certificate's emission date, for the entry-date check.
    QDate dataEmissao() const;

    // Opens QryTipo on one line (read-only or for editing); false when there is no such line.
    bool AbreTipo(const QString& sigla, const QString& numero, bool live, int importado,
                  const QString& modelo, const QString& marca);
    // Forgets the current line (an empty view).
    void fechaTipo();
    bool IncluiTipo();
    bool EditaTipo();
    // Deletes the current line (with its events and document links) inside the caller's transaction.
    bool ExcluiTipo();
    // "Aplicar" of the type editor: checks, stores, records; false after a box or a cancel.
    bool GravaTipo(const DadosEditor& editor);
    bool CancelaTipo();
    // The first failed check of the line being edited, or empty.
    QString ValidaTipo(const DadosEditor& editor) const;
    bool ExisteTipo(const QString& sigla, const QString& numero, int importado, const QString& modelo,
                    const QString& marca) const;
    // DthUltAtualiz of the current line's newest INC event as text; empty when there is none.
    QString DataInclusaoTipo() const;
    // Deletes the current line's events (inside the caller's transaction).
    void ApagaEventosTipo();
    // "E&xcluir " of the type tab: refuses, asks and deletes the current line.
    bool excluiLinhaAtual();

private:
    LinhasDoCertificado linhas_;
    std::optional<LinhaProduto> qryTipo_;
    std::optional<ChaveLinha> chave_;
};
