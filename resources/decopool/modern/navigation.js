// Keyboard and swipe navigation of the gallery pages. The arrow keys follow
// the page's rel="prev" and rel="next" links and Escape its data-nav="up"
// link; on a picture page a horizontal swipe turns the page. The links work
// without this script: it only adds the shortcuts.
(function () {
  'use strict';

  function follow(selector) {
    var link = document.querySelector(selector);
    if (!link) return false;
    window.location.href = link.href;
    return true;
  }

  var keys = {
    ArrowLeft: 'a[rel~="prev"]',
    ArrowRight: 'a[rel~="next"]',
    Escape: 'a[data-nav="up"]'
  };

  document.addEventListener('keydown', function (event) {
    if (event.defaultPrevented || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
    var target = event.target;
    if (target && (target.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName))) return;
    var selector = keys[event.key];
    if (selector && follow(selector)) event.preventDefault();
  });

  // Swiping only where the page shows one picture, so that scrolling a
  // thumbnail grid never turns the page by accident.
  if (!document.querySelector('[data-wischen]')) return;
  var startX = null;
  var startY = 0;
  document.addEventListener('touchstart', function (event) {
    if (event.touches.length !== 1) {
      startX = null;
      return;
    }
    startX = event.touches[0].clientX;
    startY = event.touches[0].clientY;
  }, { passive: true });
  document.addEventListener('touchend', function (event) {
    if (startX === null) return;
    var dx = event.changedTouches[0].clientX - startX;
    var dy = event.changedTouches[0].clientY - startY;
    startX = null;
    if (Math.abs(dx) > 60 && Math.abs(dx) > 2 * Math.abs(dy)) {
      follow(dx < 0 ? keys.ArrowRight : keys.ArrowLeft);
    }
  }, { passive: true });
})();
