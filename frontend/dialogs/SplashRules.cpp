#include "SplashRules.h"

namespace SplashRules {

Point CentredOn(int screenLeft, int screenTop, int screenWidth, int screenHeight, int width, int height) {
  return {screenLeft + (screenWidth - width) / 2, screenTop + (screenHeight - height) / 2};
}

}  // namespace SplashRules
