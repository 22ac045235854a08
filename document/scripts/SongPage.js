// The program's own work in a song's page, run from a world of its own: the
// page runs none of its own scripts, so the chord tags' pop-up calls are
// answered here, with the same picture the page's own functions would show:
// below the chord where it fits, else above it (or left of it), always whole
// inside the view. Only the exact calls the program writes are read.
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
      if (bubble) act(bubble, node);
    }
  }

  // How far the picture has to move along one axis to be whole inside the
  // view, from where it was put (start..end) and the chord's edges (near,
  // far): none when it fits; else to the chord's other side (above, or left),
  // no further than the view's edge (a chord may be partly out of view);
  // and where it fits neither side, against the view's start. Whole pixels,
  // rounded inwards.
  function moveInto(start, end, view, near, far, sideways) {
    if (end <= view)
      return 0;
    var move = Math.floor(Math.min(sideways ? far - end : near - 10 - end, view - end));
    if (start + move < 0)
      move = Math.ceil(-start);
    return move;
  }

  // The view without its scroll bars: the root's box, or in a page without
  // a doctype the body's, which the browser then reports as the view.
  function viewBox() {
    var root = document.compatMode === "BackCompat" && document.body ? document.body : document.documentElement;
    return { width: root.clientWidth, height: root.clientHeight };
  }

  function showBubble(bubble, parent) {
    var style = bubble.style;
    var left = findPosX(parent), top = findPosY(parent) + 10;
    style.visibility = "visible";
    style.left = left + "px";
    style.top = top + "px";
    var box = bubble.getBoundingClientRect(), chord = parent.getBoundingClientRect(), view = viewBox();
    style.left = left + moveInto(box.left, box.right, view.width, chord.left, chord.right, true) + "px";
    style.top = top + moveInto(box.top, box.bottom, view.height, chord.top, chord.bottom, false) + "px";
  }

  document.addEventListener("mouseover", function (event) {
    calls(event, "onmouseover", show, showBubble);
  }, true);
  document.addEventListener("mouseout", function (event) {
    calls(event, "onmouseout", hide, function (bubble) { bubble.style.visibility = "hidden"; });
  }, true);
})();
