#include "ui/shell/ShellTexts.h"

#include "services/BlessingsCache.h"
#include "model/BlessingsCopy.h"
#include "ui/shell/LearnAdhanVideo.h"

QString ShellTexts::learnAdhanBuiltInURL() {
    return LearnAdhanVideo::builtInURLString();
}

QString ShellTexts::blessingsCredit() {
    return BlessingsCopy::creditLine(BlessingsCache::current().card(BlessingsCopy::fiSabilillahId));
}
