// Compiled in the Windows build only: every header of the platform layer and the button control
// must read cleanly after <windows.h>, whose macros and global names (COLORREF, GetSysColor,
// COLOR_WINDOW, DT_CENTER, DrawText, ...) would otherwise collide with ours.
#include <windows.h>

#include "Color.h"
#include "CursorQuery.h"
#include "GdiDC.h"
#include "OverflowError.h"
#include "Picture.h"
#include "PropertyBag.h"
#include "Regions.h"
#include "SysColors.h"
#include "UserControl.h"

#include "StyledButton.h"
#include "StyledButtonAccessible.h"
#include "TransparentPicture.h"

// Both sets of names side by side, so a stand-in that still resolved to a Windows name shows here.
static_assert(sizeof(gdi::COLORREF) == sizeof(::COLORREF));
static_assert(gdi::DtCenter == DT_CENTER && gdi::DtWordBreak == DT_WORDBREAK &&
              gdi::DtCalcRect == DT_CALCRECT);
static_assert(gdi::ColorBtnFace == COLOR_BTNFACE && gdi::Color3dDkShadow == COLOR_3DDKSHADOW);
static_assert(gdi::ClrInvalid == CLR_INVALID);
