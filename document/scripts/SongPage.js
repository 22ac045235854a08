// The program's own work in a song's page, run from a world of its own: the
// page runs none of its own scripts, so the chord tags' pop-up calls are
// answered here, with the same picture at the same place as the page's own
// functions would put it. Only the exact calls the program writes are read.
(function () {
  var show = /^montreBulle\('([^']*)', this\)$/;
  var hide = /^cacheBulle\('([^']*)'\)$/;

  function findPosX(obj) {
    var curleft = 0;
    if (obj.offsetParent) {
      while (obj.offsetParent) {
        curleft += obj.offsetLeft;
        obj = obj.offsetParent;
      }
    } else if (obj.x) {
      curleft += obj.x;
    }
    return curleft;
  }

  function findPosY(obj) {
    var curtop = 0;
    if (obj.offsetParent) {
      while (obj.offsetParent) {
        curtop += obj.offsetTop;
        obj = obj.offsetParent;
      }
    } else if (obj.y) {
      curtop += obj.y;
    }
    return curtop;
  }

  // Each element from the event's target up whose handler attribute is one
  // of the program's calls, as the page's own handlers would each run.
  function calls(event, attribute, pattern, act) {
    for (var node = event.target; node && node.nodeType === 1; node = node.parentNode) {
      var call = pattern.exec(node.getAttribute(attribute) || "");
      var bubble = call && document.getElementById(call[1]);
      if (bubble) act(bubble.style, node);
    }
  }

  document.addEventListener("mouseover", function (event) {
    calls(event, "onmouseover", show, function (style, parent) {
      style.visibility = "visible";
      style.left = findPosX(parent) + "px";
      style.top = findPosY(parent) + 10 + "px";
    });
  }, true);
  document.addEventListener("mouseout", function (event) {
    calls(event, "onmouseout", hide, function (style) { style.visibility = "hidden"; });
  }, true);
})();
