// Turns the parts of a page in parts near the visible area into page
// content. The placeholders get the height of their lines at once, so the
// page is as tall as the whole page would be and a stored scroll position
// finds its place. The program runs this from a world of its own, where the
// page's table script has not run: the table is then read as data.
(function () {
  var marks = /\x02([^\x03]*)\x03|%(25|3C|00|02|03)/g;
  var parts = Array.prototype.slice.call(document.querySelectorAll("div.qvpart"));
  if (!parts.length || window.qvShowAll) return;
  var tags = {open: window.qvOpen, close: window.qvClose};
  if (!tags.open) {
    // The table follows the last part.
    var table = parts[parts.length - 1].nextElementSibling;
    var found = table && table.tagName === "SCRIPT" && /^\nvar qvOpen = (\{.*\});\nvar qvClose = (".*");\n$/.exec(table.text);
    tags = found ? {open: JSON.parse(found[1]), close: JSON.parse(found[2])} : {open: {}, close: ""};
  }
  function decode(raw) {
    return raw.replace(marks, function (all, name, code) {
      return name !== undefined ? (tags.open[name] || "") + name + tags.close : String.fromCharCode(parseInt(code, 16));
    });
  }
  var probe = document.createElement("div");
  probe.innerHTML = "x<br>x<br>x<br>x";
  parts[0].parentNode.insertBefore(probe, parts[0]);
  var lineHeight = probe.getBoundingClientRect().height / 4 || 16;
  probe.parentNode.removeChild(probe);
  parts.forEach(function (part) { part.style.height = part.getAttribute("data-lines") * lineHeight + "px"; });
  var observer;
  function show(part) {
    if (part.qvShown) return;
    part.qvShown = true;
    if (observer) observer.unobserve(part);
    var raw = part.previousElementSibling.text;
    if (part === parts[0]) raw = raw.replace(/^\n/, "");
    part.innerHTML = decode(raw);
    part.style.height = "";
  }
  window.qvShowAll = function () { parts.forEach(show); };
  if (!window.IntersectionObserver) { window.qvShowAll(); return; }
  observer = new IntersectionObserver(function (entries) {
    entries.forEach(function (entry) { if (entry.isIntersecting) show(entry.target); });
  }, {rootMargin: "100% 0px"});
  parts.forEach(function (part) { observer.observe(part); });
})();
