#pragma once
// The application-wide mouse pointer. There is one pointer for the whole
// program, not a stack: setting the default arrow ends every hourglass,
// however many steps asked for one.

namespace MousePointer {

void SetHourglass();
void SetDefault();
bool IsHourglass();

}  // namespace MousePointer
