#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;

namespace qaveq::host {

// Asks for the user ID (up to 3 characters) to sign on to a company.
class SignOnDialog : public QDialog
{
    Q_OBJECT

public:
    SignOnDialog(const QString &companyName, const QString &userId, QWidget *parent = nullptr);
    QString userId() const;

private:
    QLineEdit *m_userId;
};

} // namespace qaveq::host
