#include "BlockFactory.h"

namespace pemo {

// The one place that knows every block class. Text, picture and graphic blocks add
// their creators here as they are built.
void registerBlockClasses() {
    static const bool registered = [] { return true; }();
    (void)registered;
}

}  // namespace pemo
