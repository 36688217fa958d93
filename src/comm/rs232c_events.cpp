// The serial component's line events: the event mask built from the
// assigned handlers, and the notifications that the event thread
// (comm_thread.cpp) hands to the owner's thread. The program itself assigns
// no handler, so it never starts the thread; the read and write path it uses
// is in rs232c.cpp.
#include "comm/rs232c.h"

namespace qlx {

unsigned Trs232c::BuildEventMask() const
{
    unsigned mask = 0;
    if (OnBREAK)
        mask |= EvBreak;
    if (OnCTS)
        mask |= EvCts;
    if (OnDSR)
        mask |= EvDsr;
    if (OnERR)
        mask |= EvErr;
    if (OnRING)
        mask |= EvRing;
    if (OnRLSD)
        mask |= EvRlsd;
    if (OnRXCHAR || OnPACKET)
        mask |= EvRxChar;
    if (OnRXFLAG)
        mask |= EvRxFlag;
    if (OnTXEMPTY)
        mask |= EvTxEmpty;
    return mask;
}

void Trs232c::Post(CommNotify code)
{
    std::weak_ptr<Trs232c*> token = alive_;
    auto work = [token, code] {
        if (auto self = token.lock())
            (*self)->Dispatch(code);
    };
    if (sink_) {
        sink_(std::move(work));
        return;
    }
    std::lock_guard lock(pendingMutex_);
    pending_.push_back(std::move(work));
}

void Trs232c::DeliverPending()
{
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(pendingMutex_);
        work.swap(pending_);
    }
    for (auto& w : work)
        w();
}

void Trs232c::Dispatch(CommNotify code)
{
    TNotifyEvent* handler = nullptr;
    switch (code) {
    case NotifyBreak: handler = &OnBREAK; break;
    case NotifyCts: handler = &OnCTS; break;
    case NotifyDsr: handler = &OnDSR; break;
    case NotifyErr: handler = &OnERR; break;
    case NotifyRing: handler = &OnRING; break;
    case NotifyRlsd: handler = &OnRLSD; break;
    case NotifyPacket: handler = &OnPACKET; break;
    case NotifyRxChar: handler = &OnRXCHAR; break;
    case NotifyRxFlag: handler = &OnRXFLAG; break;
    case NotifyTxEmpty: handler = &OnTXEMPTY; break;
    }
    if (!handler || !*handler)
        return;
    try {
        (*handler)(*this);
    } catch (...) {
        if (OnHandlerException)
            OnHandlerException(std::current_exception());
    }
}

}  // namespace qlx
