// The enabled states of the editor's one-step Undo, its Undo All and the Undo tool button.
#pragma once

struct UndoState {
    bool undo = false;
    bool undoAll = false;
    bool toolButton = false;

    // A snapshot before an edit: Undo All becomes available exactly when the edit follows another
    // edit that was not undone.
    void afterSnapshot()
    {
        undoAll = undo;
        undo = true;
        toolButton = true;
    }
    void afterUndo()
    {
        undo = false;
        toolButton = undoAll;
    }
    void afterUndoAll() { *this = {}; }

    friend bool operator==(const UndoState&, const UndoState&) = default;
};
