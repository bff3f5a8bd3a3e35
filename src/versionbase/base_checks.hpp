// The checks of a version base for the people who write it: each finding is a rule of
// the base's format that the text breaks, at the line where it breaks it, of a kind, and
// worded (what goes wrong in Ravlet and how to mend it) by one function.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ravlet {

struct BaseFinding {
    // What `names` holds for each kind is said beside it; names are Windows-1251 bytes of
    // the base, `other` a 1-based line the wording refers to.
    enum class Kind {
        KeyAtStart,                // names: the key (TARVEN or SUPPORT)
        NoDescriptions,            //
        DescriptionsAfterMarker,   // names: the version whose marker stands before it
        DescriptionWithoutColon,   // stops the transfer
        DescriptionWithoutEquals,  //
        BlankBesideColon,          //
        SemicolonInHint,           //
        DescriptionAfterEnd,       // other: the line that ends the transfer's walk
        GeneralTarvenLine,         // names: the version name it adds, if it is listed
        MarkerNotExact,            // names: the marker line
        MarkerNotAtLineStart,      //
        EmptyVersionName,          // names: the versions it hides
        RepeatedMarker,            // names: the version; other: its first marker
        NameBeginsWithEarlier,     // names: the version, the earlier one; other: the earlier
        ShadowedMarker,            // names: the version, the line found; other: that line
        RecordBeginsWithNewGroup,  // names: the record, the one before, the new headers
        NoSupport,                 // names: the version
        BorrowedSupport,           // names: the version, the lender; other: the lent line
        SupportInEarlierList,      // names: the build, the earlier version; other: its list
        UnclosedHeader,            //
        SignLineBeforeHeader,      //
        ParameterWithoutEquals,    //
        BlanksAroundKeyName,       // names: the key name as written
        RepeatedKey,               // names: the key; other: its first line
        EmptyValueSpec,            // names: the key
        SwitchDefault,             // names: the key, the default as written
        TwoDefaultMarks,           // names: the key
        BlanksAroundComma,         // names: the key
        MissingHint,               // names: the key, the header, the two description keys
        MixedLineEnds,             // names: this line's end, the earlier lines' ("LF", "CR LF")
    };
    Kind kind;
    std::size_t line;  // 1-based, lines counted over LF
    std::vector<std::string> names;
    std::size_t other = 0;
};

// Every finding of `base`, in line order, including those an author would meet only
// after mending the ones before (a description line past the end of the transfer's walk
// is found even when an earlier line stops the transfer). The base is read by the same
// walks that the version list, the group and parameter listings, the hint lookup and the
// transfer make, so a finding says how Ravlet itself takes the text. Linear in its size.
std::vector<BaseFinding> CheckBase(std::string_view base);

// The finding in Russian (UTF-8): what goes wrong in Ravlet and how to mend it. Names
// are quoted as they are, control characters included: a terminal escapes them.
std::string BaseFindingMessage(const BaseFinding& finding);

}  // namespace ravlet
