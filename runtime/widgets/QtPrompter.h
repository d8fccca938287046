#pragma once

#include "core/Prompter.h"

class QWidget;

namespace qaveq {

// Shows each message as a message box over `parent`: the caption, the text
// with "|" as line breaks, the buttons of the button string with their
// keyboard accelerators, the default button and the icon.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr)
        : m_parent(parent)
    {}
    void setParent(QWidget *parent) { m_parent = parent; }
    int ask(const Message &message) override;

private:
    QWidget *m_parent;
};

} // namespace qaveq
