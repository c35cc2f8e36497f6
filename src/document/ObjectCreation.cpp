#include "document/ObjectCreation.h"

#include "document/DocGlobals.h"
#include "document/ObjectKind.h"

namespace lw {

std::unique_ptr<CDrawRect> MakeShape(ShapeTool tool, const LRect& rect, const LOGFONT& font) {
  auto obj = std::make_unique<CDrawRect>(rect);
  switch (tool) {
    case ShapeTool::Line:
      obj->m_nShape = kShapeLine;
      obj->m_nShapeCode = kShapeCodeLine;
      obj->m_nToolClass = kToolClassLine;
      break;
    case ShapeTool::Ellipse:
      obj->m_nShape = kShapeEllipse;
      obj->m_nShapeCode = kShapeCodeEllipse;
      obj->m_nToolClass = kToolClassEllipse;
      break;
    case ShapeTool::Freehand:
      obj->m_nShape = kShapeFreehand;
      obj->m_nShapeCode = kShapeCodeFreehand;
      obj->m_nToolClass = kToolClassFreehand;
      break;
    case ShapeTool::Rectangle:
    case ShapeTool::TextBox:
      obj->m_nShape = kShapeRectangle;
      obj->m_nShapeCode = kShapeCodeRectangle;
      obj->m_nToolClass = kToolClassRectangle;
      break;
  }
  obj->m_nAlign = kAlignLeft;
  obj->m_crText = kColorBlack;
  obj->m_nKind = kKindGraphic;
  obj->m_bHasImage = 0;
  obj->m_textFont = font;
  obj->m_strImageFile.clear();
  obj->m_bEditorOpen = 0;
  return obj;
}

std::unique_ptr<CDrawRect> MakeFieldObject(int kind, const LRect& rect,
                                           const LOGFONT& defaultFont) {
  auto obj = std::make_unique<CDrawRect>(rect);
  obj->m_nShape = kShapeRectangle;
  obj->m_nShapeCode = kShapeCodeRectangle;
  obj->m_nKind = kind;
  obj->m_bSemiTransparent = 1;
  obj->m_textFont = defaultFont;
  obj->m_textFont.lfHeight = -27;
  obj->m_crText = kColorBlack;
  // The automatic outline: no pen of its own; painted as a cyan guide frame on screen.
  obj->m_lineSpec = LOGPEN{PS_INSIDEFRAME, {0, 0}, kColorCyan};
  obj->m_bLine = 0;
  obj->m_fLineWeight = 0.0f;
  obj->m_strLineColorName = DefaultAutoLabel();
  if (kind == kKindLabel) {
    obj->m_bEditableText = 1;
    obj->m_nAlign = kAlignRight;
  } else {
    obj->m_bEditableText = 0;
    obj->m_nAlign = kAlignLeft;
    obj->m_strTextColorName = BlackColorName();
  }
  return obj;
}

void InitInsertedPicture(CDrawImage& image, const LOGFONT& font) {
  image.m_bHasImage = 1;
  image.m_nKind = kKindGraphic;
  image.m_bEditableText = 0;
  image.m_bEditorOpen = 0;
  image.m_strText.clear();
  image.m_textFont = font;
  image.m_nShapeCode = kShapeCodeRectangle;
}

std::unique_ptr<CDrawObj> CreateObjectByClassName(QByteArrayView name) {
  if (name == QByteArrayView("CDrawRect")) return std::make_unique<CDrawRect>();
  if (name == QByteArrayView("CDrawImage")) return std::make_unique<CDrawImage>();
  if (name == QByteArrayView("CDrawObj")) return std::make_unique<CDrawObj>();
  return nullptr;
}

}  // namespace lw
