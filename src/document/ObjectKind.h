#pragma once
// Object kinds (`m_nKind`), shape numbers (`m_nShape`), shape codes (`m_nShapeCode`) and shape
// classes (`m_nToolClass`) of drawing objects, with the range tests the rest of the program
// uses. A kind outside 0 to 29 (30 and above, or negative) behaves like a graphic object.

namespace lw {

// m_nKind
constexpr int kKindGraphic = 0;  // shape, free text box or picture
constexpr int kKindLabel = 1;    // fixed caption placed beside a data field
constexpr int kKindSenderFirst = 2;
constexpr int kKindSenderLast = 13;
constexpr int kKindRecipientFirst = 14;
constexpr int kKindRecipientLast = 25;
constexpr int kKindMessageFirst = 26;  // message, subject, page count, date sent
constexpr int kKindMessageLast = 29;

enum class FieldGroup { None, Sender, Recipient, Message };

// Labels and data fields: kinds 1 to 29.
constexpr bool IsTextKind(int kind) { return kind >= kKindLabel && kind <= kKindMessageLast; }
// Data fields filled in by the fax server: kinds 2 to 29.
constexpr bool IsFieldKind(int kind) {
  return kind >= kKindSenderFirst && kind <= kKindMessageLast;
}
constexpr bool IsSenderKind(int kind) {
  return kind >= kKindSenderFirst && kind <= kKindSenderLast;
}
constexpr bool IsRecipientKind(int kind) {
  return kind >= kKindRecipientFirst && kind <= kKindRecipientLast;
}
constexpr bool IsMessageKind(int kind) {
  return kind >= kKindMessageFirst && kind <= kKindMessageLast;
}
constexpr FieldGroup GroupOfKind(int kind) {
  return IsSenderKind(kind)      ? FieldGroup::Sender
         : IsRecipientKind(kind) ? FieldGroup::Recipient
         : IsMessageKind(kind)   ? FieldGroup::Message
                                 : FieldGroup::None;
}

// m_nShape of CDrawRect (stored in files).
constexpr int kShapeRectangle = 0;  // also every text box, label and field
constexpr int kShapeEllipse = 1;
constexpr int kShapeLine = 2;
constexpr int kShapeFreehand = 3;

// m_nShapeCode (never stored; read by the arrange commands).
constexpr int kShapeCodeRectangle = 0;
constexpr int kShapeCodeEllipse = 1;
constexpr int kShapeCodeLine = 2;
constexpr int kShapeCodeFreehand = 4;

// m_nToolClass (stored in files).
constexpr int kToolClassNone = 0;  // text objects and pictures
constexpr int kToolClassRectangle = 1;
constexpr int kToolClassEllipse = 2;
constexpr int kToolClassLine = 3;
constexpr int kToolClassFreehand = 4;

// The shape code matching a shape number, for objects not made by a shape tool (read from a
// file, inserted as fields or pictures). Unknown shapes give the rectangle code.
constexpr int ShapeCodeForShape(int shape) {
  switch (shape) {
    case kShapeEllipse:
      return kShapeCodeEllipse;
    case kShapeLine:
      return kShapeCodeLine;
    case kShapeFreehand:
      return kShapeCodeFreehand;
    default:
      return kShapeCodeRectangle;
  }
}

// Text alignment (m_nAlign).
constexpr int kAlignLeft = 1;
constexpr int kAlignCenter = 2;
constexpr int kAlignRight = 3;

}  // namespace lw
