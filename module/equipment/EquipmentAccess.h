#pragma once

namespace qaveq {

class Prompter;

namespace data {
class Session;
}

// Who may do what in the equipment lists. The signed-on user's record is read
// once, when the list opens: a user whose record says EquipmentNoChanges, or
// whose record cannot be read (the list then says why, " Getting User
// Record"), may look but not add, change or delete. A company without any
// users yet has no one to refuse. Independently, the read-only user of the
// module is refused every changing action of the equipment list.
class EquipmentAccess
{
public:
    enum class Action { Add, Change, Delete, DepreciationBatch };

    EquipmentAccess(data::Session &session, Prompter &prompter);

    bool mayChange() const { return m_mayChange; }
    // Says why and returns true when the equipment list must not do `action`.
    bool refuses(Action action) const;
    // The alias list refuses only a user without the right to change equipment.
    bool refusesChange() const;

private:
    data::Session &m_session;
    Prompter &m_prompter;
    bool m_mayChange = false;
};

} // namespace qaveq
