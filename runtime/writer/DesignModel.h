#pragma once

#include "Catalogue.h"
#include "ReportDocument.h"

#include <QByteArray>
#include <QList>

namespace qaveq::writer {

// The report being designed and every change made to it, without widgets:
// the designer's canvas, tree and property panel all change the report
// through here, and every change can be undone and redone.
class DesignModel
{
public:
    // Objects snap to this grid when placed, moved or resized (decipoints:
    // a twelfth of an inch).
    static constexpr qreal Grid = 60;

    DesignModel(Catalogue catalogue, ReportDocument document);

    const Catalogue &catalogue() const { return m_catalogue; }
    const ReportDocument &document() const { return m_document; }

    // Where an object is: its band and its place in the band.
    struct Selection
    {
        int band = -1;
        int object = -1;
        bool isObject() const { return band >= 0 && object >= 0; }
    };
    Selection selection() const { return m_selection; }
    void select(Selection selection);
    const ReportObject *selectedObject() const;
    const ReportBand *selectedBand() const;

    // Edits. Each one is a step of its own on the undo list, and selects
    // what it made or changed; false when it changes nothing.
    bool addObject(int band, ReportObject object);
    // A field object for a catalogue field dropped at a point of a band:
    // its label's width, the field's picture, numbers right-aligned.
    bool dropField(int band, const QString &fieldName, QPointF at);
    bool moveSelected(qreal dx, qreal dy);
    bool resizeSelected(qreal dw, qreal dh);
    bool setSelectedRect(const QRectF &rect);
    bool changeSelected(const ReportObject &object);
    bool removeSelected();
    bool addBand(ReportBand band);
    bool changeBand(int band, const ReportBand &changed);
    bool removeBand(int band);
    bool setPage(const report::PageSetup &page);
    bool setName(const QString &name);
    bool setPrinter(const PrinterSettings &printer);

    bool canUndo() const { return m_step > 0; }
    bool canRedo() const { return m_step + 1 < m_history.size(); }
    void undo();
    void redo();
    // Whether the report differs from the one last saved or loaded.
    bool isModified() const { return m_history.at(m_step) != m_saved; }
    void markSaved() { m_saved = m_history.at(m_step); }

    // The bands in the order they print: report header, page header, groups
    // and details, page footer, report footer.
    QList<int> bandOrder() const;

    static qreal snap(qreal value);

private:
    // Keeps the report as the next step when it differs from the current one.
    bool commit(ReportDocument changed, Selection selection);
    void restore();

    Catalogue m_catalogue;
    ReportDocument m_document;
    Selection m_selection;
    QList<QByteArray> m_history; // the report after each step, as its file holds it
    qsizetype m_step = 0;
    QByteArray m_saved;
};

} // namespace qaveq::writer
