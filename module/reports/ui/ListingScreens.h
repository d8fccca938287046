#pragma once

#include <QString>

namespace qaveq {

struct EQLimits;
struct ListingPictures;
struct OutputState;

namespace data {
class ErrorManager;
}

namespace ListingScreens {

// The listing report of the procedure (PRINTEQLISTING, PRINTEQLISTING1,
// PRINTEQCATEGORYLIST, PRINTEQCATEGORYLIST1) for the definition, with its
// progress window and output.
void print(const QString &procedure, const EQLimits &definition, data::ErrorManager &errors,
           OutputState &output);

// The pictures of the data sheets: the company's image store and the
// "no photo" picture.
ListingPictures pictures();

} // namespace ListingScreens

} // namespace qaveq
