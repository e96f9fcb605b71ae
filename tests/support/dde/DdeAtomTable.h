// The model's global atom table: what DDEML string handles are. Texts are compared without
// regard to case, the spelling added first is kept while the atom lives, and an atom holds at
// most 255 characters.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class DdeAtomTable {
public:
    // Adds a reference to the atom of text, creating it; 0 for an empty or too long text.
    std::uintptr_t Add(const std::string& text);
    // Adds a reference to a live atom; false for an unknown one.
    bool AddRef(std::uintptr_t atom);
    // Drops one reference; the atom dies with its last. False for an unknown atom.
    bool Release(std::uintptr_t atom);

    bool Alive(std::uintptr_t atom) const { return m_atoms.count(atom) != 0; }
    // The atom's spelling; empty for an unknown atom.
    std::string Text(std::uintptr_t atom) const;
    // The live atom of text, or 0.
    std::uintptr_t Find(const std::string& text) const;

    // The text by which atoms are compared.
    static std::string Key(const std::string& text);

private:
    struct Atom {
        std::string text;
        int references = 0;
    };

    std::map<std::uintptr_t, Atom> m_atoms;
    std::map<std::string, std::uintptr_t> m_byKey; // lower-case text
    std::uintptr_t m_next = 0xC000;                // where the system's string atoms begin
};
