#include "tray/tray.h"

// Registered during static initialisation, in this order, so the ids exist
// before the entry point runs (also in a copy that ends at once).
UINT msgPanelGammaChanged = RegisterWindowMessage("QV26 Gamma Changed");
UINT msgPanelChromaChanged = RegisterWindowMessage("QV26 Chroma Changed");
UINT msgGammaChanged = RegisterWindowMessage("Lumivex Gamma Changed");
UINT msgChromaChanged = RegisterWindowMessage("Lumivex Chroma Changed");
