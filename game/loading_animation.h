#pragma once

// The loading screen's animation.
// MINIMAL: nothing is shown while loading.
class CLoadingAnimation {};
