#pragma once

// The web engine reads the format of the process-wide shared GL context as its first view is made, and
// without one the process dies. On a GPU scene graph main() has Qt make that context before the application
// exists. On the software scene graph nothing draws with GL: the sky map hands the engine a context that is
// never created, so the engine composites in software, and no GPU driver is loaded for it (a broken one is
// often why the software scene graph runs) nor any memory spent before the sky map opens.
namespace PlanetariumWebContext {

// Called before the sheet's web view loads; does nothing where a shared context exists, as on a GPU scene
// graph.
void prepare();

}  // namespace PlanetariumWebContext
