#pragma once

#include "platform/PowerSwitch.h"

#include <QDBusPendingCall>

#include <optional>

namespace velmora {

// Powers off through systemd-logind: org.freedesktop.login1.Manager.PowerOff(true) on the system bus,
// sent without waiting for the answer, so the window never freezes on the bus. interactive=true lets
// polkit ask for a password where the policy wants one.
class LogindPowerSwitch : public PowerSwitch {
public:
    void RequestPowerOff() override;

private:
    // A request logind has not answered yet, perhaps because polkit is asking the user; a second one
    // would only stack another password prompt on top of it.
    std::optional<QDBusPendingCall> unanswered_;
};

} // namespace velmora
