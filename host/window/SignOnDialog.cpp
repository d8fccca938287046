#include "SignOnDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace qaveq::host {

SignOnDialog::SignOnDialog(const QString &companyName, const QString &userId, QWidget *parent)
    : QDialog(parent)
    , m_userId(new QLineEdit(userId, this))
{
    setWindowTitle(u"Sign On"_s);
    m_userId->setMaxLength(3);
    m_userId->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[A-Za-z0-9]{0,3}"_s), this));
    m_userId->selectAll();
    auto *form = new QFormLayout;
    form->addRow(u"Company:"_s, new QLabel(companyName, this));
    form->addRow(u"&User ID:"_s, m_userId);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString SignOnDialog::userId() const
{
    return m_userId->text().trimmed().toUpper();
}

} // namespace qaveq::host
