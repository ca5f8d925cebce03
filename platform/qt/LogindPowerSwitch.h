#pragma once

#include "platform/PowerSwitch.h"

#include <QDBusPendingCallWatcher>

#include <memory>

namespace velmora {

// Powers off through systemd-logind: org.freedesktop.login1.Manager.PowerOff(true) on the system bus,
// sent without waiting for the answer, so the window never freezes on the bus. interactive=true lets
// polkit ask for a password where the policy wants one. An error reply (no logind, refused by policy,
// other sessions open) is passed on with its message once it arrives.
class LogindPowerSwitch : public PowerSwitch {
public:
    void RequestPowerOff(FailureReport onFailure) override;

private:
    // A request logind has not answered yet, perhaps because polkit is asking the user; a second one
    // would only stack another password prompt on top of it.
    std::unique_ptr<QDBusPendingCallWatcher> unanswered_;
};

} // namespace velmora
