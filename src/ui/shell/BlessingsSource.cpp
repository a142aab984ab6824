#include "ui/shell/BlessingsSource.h"

namespace BlessingsSource {

BlessingsConfig current() {
    return BlessingsConfig::defaults();
}

}  // namespace BlessingsSource
