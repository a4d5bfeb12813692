#pragma once

#include <QDialog>
#include <optional>
#include <utility>

class CamposEmpresa;
class Session;

// "Inclusão de Empresa": includes one company from the company search ("Nova...").
class TFrmInclEmpresa : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInclEmpresa(Session& session, QWidget* parent = nullptr);

    // The key (CodigoPais, IdEmpresa) of the company included; nothing until "Ok" stored it.
    std::optional<std::pair<QString, QString>> incluida() const { return incluida_; }

    // Shows the dialog modally; the key of the company included, or nothing.
    static std::optional<std::pair<QString, QString>> inclui(Session& session, QWidget* parent);
    // "Seleciona Empresa", with or without its "Nova..." inclusion; the chosen company's key.
    static std::optional<std::pair<QString, QString>> escolhe(Session& session, QWidget* parent,
                                                              bool comInclusao);

private:
    void ok();

    Session& session_;
    CamposEmpresa* campos_;
    std::optional<std::pair<QString, QString>> incluida_;
};
