#pragma once

#include "direct_composition/film_frame.h"

#include <string>

namespace vantorel::direct_composition {

// The header pictures in <home>/医院名称: cross.bmp read once when made,
// yymc.bmp read afresh for every film.
class HeaderPictureFiles final : public HeaderPictures {
public:
    explicit HeaderPictureFiles(const std::string& homeFolder);

    Picture crossIcon() const override { return cross_; }
    bool customHeaderExists() const override;
    Picture loadCustomHeader() const override;

private:
    std::string folder_;
    Picture cross_;
};

}  // namespace vantorel::direct_composition
