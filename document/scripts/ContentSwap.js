// Puts the body of the written page, whose bytes follow as base64, in place
// of the shown one. The pop-up script already ran when the page was loaded;
// the scripts must be the same.
(function (data) { try {
    var bytes = atob(data), codes = new Uint8Array(bytes.length);
    for (var i = 0; i < bytes.length; ++i)
        codes[i] = bytes.charCodeAt(i);
    var next = new DOMParser().parseFromString(new TextDecoder(document.characterSet).decode(codes), 'text/html');
    var scripts = function (d) {
        return Array.prototype.map.call(d.scripts, function (s) { return s.outerHTML; }).join('\n');
    };
    var frame = function (d) {
        var html = d.documentElement;
        return d.compatMode + '|' + (html.getAttributeNames().map(function (n) {
            return n + '=' + html.getAttribute(n); }).join(' ')) + '|' + d.head.outerHTML + '|' + scripts(d);
    };
    if (!document.body || document.body.tagName !== 'BODY' || !next.body || next.body.tagName !== 'BODY' ||
        frame(next) !== frame(document))
        return false;
    var x = window.scrollX, y = window.scrollY;
    document.documentElement.replaceChild(document.adoptNode(next.body), document.body);
    window.scrollTo(x, y);
    return true;
} catch (e) { return false; } })
