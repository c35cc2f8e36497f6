#include "document/CDrawImage.h"

CDrawImage::CDrawImage() { SetNewObjectDefaults(0); }

CDrawImage::~CDrawImage() = default;
