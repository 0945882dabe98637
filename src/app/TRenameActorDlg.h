#pragma once

#include "app/TNewActorDlg.h"

namespace kavo {

// "Rename actor in ALL arenas": the actor's name and short name, with the keys and checks of the
// new-actor dialog. The caller renames the actor.
class TRenameActorDlg : public TNewActorDlg {
    Q_OBJECT

  public:
    explicit TRenameActorDlg(QWidget* parent = nullptr);
    // Shows the actor's names; true after OK.
    bool Ask(const TActor& actor);
};

}  // namespace kavo
