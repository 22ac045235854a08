#include <gtest/gtest.h>

#include <string>

#include "render/HeadLine.h"

TEST(HeadLine, GoesOnTopOfTheSongAsItsOwnLine) {
    struct Case {
        const char* song;
        bool html;
        const char* saved;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"G C\nla\n", false, "Capo 3 <x>\nG C\nla\n"},
        {"G C\r\nla\r\n", false, "Capo 3 <x>\r\nG C\r\nla\r\n"},
        {"", false, "Capo 3 <x>\n"},
        {"\r\n\n", false, "Capo 3 <x>\r\n\r\n\n"},
        {"<html><BODY class=\"a>\"><pre>G</pre></BODY></html>", true,
         "<html><BODY class=\"a>\">\n<p>Capo 3 &lt;x&gt;</p>\n<pre>G</pre></BODY></html>"},
        {"<!DOCTYPE html>\n<html><body>\n<p>G</p></body></html>", true,
         "<!DOCTYPE html>\n<html><body>\n<p>Capo 3 &lt;x&gt;</p>\n\n<p>G</p></body></html>"},
        {"<!-- <bodyx> --><p>G & C</p>", true, "\n<p>Capo 3 &lt;x&gt;</p>\n<!-- <bodyx> --><p>G & C</p>"},
        {"<!doctype html><p>G</p>", true, "<!doctype html>\n<p>Capo 3 &lt;x&gt;</p>\n<p>G</p>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithHeadLine(c.song, c.html, "Capo 3 <x>"), c.saved) << c.song;
        EXPECT_EQ(WithHeadLine(c.song, c.html, ""), c.song);
    }
    // A byte-order mark stays the first bytes of the file.
    EXPECT_EQ(WithHeadLine(bom + "G\n", false, "Capo 1"), bom + "Capo 1\nG\n");
    EXPECT_EQ(WithHeadLine(bom + "<p>G</p>", true, "Capo 1"), bom + "\n<p>Capo 1</p>\n<p>G</p>");
}
