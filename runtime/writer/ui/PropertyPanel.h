#pragma once

#include "runtime/writer/DesignModel.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;

namespace qaveq::writer {

// The properties of what is selected on the canvas: an object's text,
// field, picture, total, font, alignment, frame and place; a band's kind,
// file, group field and height; else the report's name, paper and printer.
// Every edit goes to the model as one step.
class PropertyPanel : public QWidget
{
    Q_OBJECT

public:
    PropertyPanel(DesignModel &model, QWidget *parent = nullptr);

    // Shows the selection's values again.
    void refresh();

Q_SIGNALS:
    void changed();

private:
    QWidget *objectPage();
    QWidget *bandPage();
    QWidget *reportPage();
    void applyObject();
    void applyBand();
    void applyReport();

    DesignModel &m_model;
    bool m_filling = false;
    QStackedWidget *m_pages;
    // Object.
    QLabel *m_kind;
    QLineEdit *m_text;
    QComboBox *m_field;
    QLineEdit *m_picture;
    QComboBox *m_total;
    QComboBox *m_family;
    QSpinBox *m_size;
    QCheckBox *m_bold, *m_italic, *m_frame;
    QComboBox *m_align;
    QDoubleSpinBox *m_x, *m_y, *m_width, *m_height;
    // Band.
    QLabel *m_bandKind;
    QComboBox *m_groupBy;
    QDoubleSpinBox *m_bandHeight;
    // Report.
    QLineEdit *m_name;
    QComboBox *m_paper;
    QCheckBox *m_landscape, *m_askPrinter;
    QSpinBox *m_copies;
};

} // namespace qaveq::writer
