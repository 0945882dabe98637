#include "cli/TDeadlineStatus.h"

#include "model/TContext.h"

namespace kavo {

void TDeadlineStatus::SetStatusText(const std::string& text) {
    if (Progress != nullptr && !text.empty()) {
        *Progress << text << '\n';
    }
}

void TDeadlineStatus::PumpEvents() {
    if (Context != nullptr && Deadline && TClock::now() >= *Deadline) {
        Context->AnalysisCancelled = true;
    }
}

void TDeadlineStatus::Limit(TContext& context, double seconds) {
    Context = &context;
    Deadline = TClock::now() +
               std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace kavo
