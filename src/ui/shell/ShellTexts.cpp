#include "ui/shell/ShellTexts.h"

#include "ui/shell/BlessingsCopy.h"
#include "ui/shell/BlessingsSource.h"
#include "ui/shell/LearnAdhanVideo.h"

QString ShellTexts::learnAdhanBuiltInURL() {
    return LearnAdhanVideo::builtInURLString();
}

QString ShellTexts::blessingsCredit() {
    return BlessingsCopy::creditLine(BlessingsSource::current().card(BlessingsCopy::fiSabilillahId));
}
