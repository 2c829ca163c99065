// Registers the framework's component classes (and colour names) with the
// description reader, once.
#pragma once

namespace fw {

void RegisterFrameworkClasses();

}  // namespace fw
