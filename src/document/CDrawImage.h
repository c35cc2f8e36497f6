#pragma once
// A picture on the page. The picture's file (a BMP) lives in a temporary working file named
// by m_strImageFile, whose byte count is m_nImageBytes; the document deletes that file with
// the object. m_pRaster holds the decoded picture, or null when it could not be read.

#include "document/CDrawObj.h"

#include <memory>

class CRasterImage;

class CDrawImage : public CDrawObj {
 public:
  // Reading constructor with the picture defaults: outline on with an inside-frame pen of
  // width 0, white solid fill, line weight 1, automatic colour names.
  CDrawImage();
  ~CDrawImage() override;

  const char* ClassName() const override { return "CDrawImage"; }

  // Paints the picture into its position.
  void Draw(lw::RenderContext& dc) override;

  // Makes a new raster image of the picture file `path` and turns the picture into a 1-bit
  // BMP working file (prefix "Bmp" in the private temporary folder), named in m_strImageFile
  // and loaded as the raster. False when the file cannot be read or converted (an unknown
  // extension also reports text 62575). See PictureLoad.h.
  bool LoadPicture(const QString& path);

  // Owned decoded picture. A shared_ptr so that this header needs only a declaration of
  // CRasterImage: the deleter is fixed where the raster is made. Never shared in practice.
  std::shared_ptr<CRasterImage> m_pRaster;
};
